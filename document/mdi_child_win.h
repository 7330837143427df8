#pragma once
// TMDIChild, the document window: a frame round one editor control. It keeps the
// document's file name and shows it as its caption; the text, selection, undo state and
// modified flag live in the editor.
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "document/document_host_win.h"
#include "win/handles_win.h"
#include "win/menu_win.h"
#include "win/window_win.h"

namespace quillet {

class TMDIChild : public Window {
 public:
  explicit TMDIChild(DocumentHost& host);
  ~TMDIChild() override;

  // Creates the window inside the host's document area, active, with the font.
  bool Create(const std::string& file_name, const std::string& font_name, int font_size);

  HWND Memo = nullptr;
  std::unique_ptr<MenuBar> PopupMenu1;

  // A full path, or "文書" + counter + ".tex" for an untitled document.
  const std::string& FileName() const { return file_name_; }
  // Takes a new name (after Save As); the caption follows.
  void SetFileName(const std::string& file_name);
  // The caption as the window shows it.
  std::string caption() const;
  bool closing() const { return closing_; }
  bool is_untitled() const;
  bool modified() const;
  void SetModified(bool modified);
  std::string Text() const;
  // The text in place in the editor, for writing it out; valid until it next changes.
  std::array<std::string_view, 2> TextParts() const;
  std::size_t TextLength() const;
  void SetEditorFont(const std::string& name, int size);
  // The autosave file of this document: beside it, or in the temporary directory.
  std::string AutoSaveFileName() const;

  // Events.
  void MemoChange();
  void MemoSelectionChange();
  // Asks whether the window may close (saving when the user says so); true to close.
  bool FormCloseQuery();
  // After the close query allowed it: removes the autosave file and destroys the window.
  void FormClose();
  void PopupMenu1Popup();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) override;
  void Detached() override;

 private:
  void ShowPopupMenu(int x, int y);
  void OnPopupCommand(UINT id);

  DocumentHost& host_;
  std::string file_name_;
  FontHandle font_;
  bool closing_ = false;
};

}  // namespace quillet
