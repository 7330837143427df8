#pragma once
// The save dialog's choice of encoding and line ends: two drop-down lists under the
// dialog's own controls, in a child dialog of ours for the Explorer-style dialog and in
// the old-style dialog made taller.
#include <windows.h>
#include <commdlg.h>

#include "core/text_encoding.h"
#include "win/coding_lists_win.h"

namespace quillet {

// The lists' control ids (apart from the dialog's own) and their help topics.
inline constexpr int kSaveEncodingId = 0x5E01, kSaveLineEndId = 0x5E02;
inline constexpr DWORD kSaveEncodingHelp = 165, kSaveLineEndHelp = 166;

class SaveCodingChoice {
 public:
  explicit SaveCodingChoice(const FileCoding& preset) : chosen_(preset) {}
  SaveCodingChoice(const SaveCodingChoice&) = delete;
  SaveCodingChoice& operator=(const SaveCodingChoice&) = delete;

  // Makes the dialog that ofn describes (its style already set) show the lists. This
  // object must outlive the dialog.
  void Attach(OPENFILENAMEA& ofn);
  // The coding the lists show when the dialog ends.
  const FileCoding& chosen() const { return chosen_; }

 private:
  // An empty child dialog: the platform keeps room for it under its own controls.
  struct alignas(4) ChildTemplate {
    DLGTEMPLATE dialog;
    WORD menu, window_class, title;
  };

  static UINT_PTR CALLBACK Hook(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
  UINT_PTR Handle(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
  void CreateLists(HWND parent, HFONT font);
  void AlignWithFileType(HWND child);
  void AddToOldStyle(HWND dialog);
  bool ShowHelp(HWND dialog, const HELPINFO& info) const;

  CodingLists Lists() const { return {lists_[0], lists_[1]}; }

  FileCoding chosen_;
  bool explorer_ = true;
  ChildTemplate template_{};
  // Encoding first, then line ends.
  HWND labels_[2] = {}, lists_[2] = {};
};

}  // namespace quillet
