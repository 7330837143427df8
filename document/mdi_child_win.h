#pragma once
// TMDIChild, the document window: a frame round one editor control. It keeps the
// document's file name and shows it as its caption; the text, selection, undo state and
// modified flag live in the editor.
#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/iso2022_jp.h"
#include "core/slice_encoder.h"
#include "core/text_encode.h"
#include "core/text_encoding.h"
#include "document/document_file_win.h"
#include "document/document_host_win.h"
#include "win/file_io_win.h"
#include "win/handles_win.h"
#include "win/menu_win.h"
#include "win/window_win.h"

namespace quillet {

class TMDIChild;

// A document's text as the bytes of its file in a coding, for a save to write: in place in
// the editor when the text needs no conversion, else converted slice by slice while the
// save writes the slice before. Valid while the text does not change.
class FileBytes : public ByteMaker {
 public:
  FileBytes(const TMDIChild& doc, const FileCoding& coding);
  bool Next(std::string_view& piece) override;
  // A character the coding cannot hold stopped the making (and so the save).
  bool stopped() const { return stopped_; }
  const Unholdable& bad() const { return encoder_->bad(); }

 private:
  std::array<std::string_view, 2> parts_;
  std::size_t given_ = 0;                // parts given, when written as they are
  std::optional<SliceEncoder> encoder_;  // else
  bool stopped_ = false;
};

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

  // Takes a file's text as the whole text, with its coding: unmodified, caret at the start.
  // A text with characters that found no code opens read-only.
  void LoadContent(DocumentContent content);
  // The coding the document's file is written in.
  const FileCoding& coding() const { return coding_; }
  // A new coding (Save As, a new document): the file's own ISO-2022-JP lines no longer apply.
  void SetCoding(const FileCoding& coding);
  // False for a text whose characters outnumber the codes it could give them: writing it
  // would lose them.
  bool savable() const { return savable_; }
  const JisLineForms& jis_forms() const { return jis_forms_; }
  // The whole text in one piece: in place when the editor holds it so, else in storage.
  std::string_view ContiguousText(std::string& storage) const;
  // The table of the document's own characters, which the editor keeps (a file inserted
  // may add to it).
  const ForeignChars& foreign_chars() const;
  ForeignChars& foreign_chars();
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
  FileCoding coding_;
  JisLineForms jis_forms_;
  bool savable_ = true;
};

}  // namespace quillet
