#pragma once
// TMDIChild, the document window: a frame round one editor control. The caption is the
// document's file name; the text, selection, undo state and modified flag live in the
// editor.
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "win/handles_win.h"
#include "win/menu_win.h"
#include "win/window_win.h"

namespace quillet {

class TMainForm;

class TMDIChild : public Window {
 public:
  explicit TMDIChild(TMainForm& main);
  ~TMDIChild() override;

  // Creates the window inside the main window's MDI client, active, with the font.
  bool Create(const std::string& caption, const std::string& font_name, int font_size);

  HWND Memo = nullptr;
  std::unique_ptr<MenuBar> PopupMenu1;

  std::string caption() const;
  void SetCaption(const std::string& caption);
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

  TMainForm& main_;
  FontHandle font_;
  bool closing_ = false;
};

}  // namespace quillet
