#pragma once
// FindDialog and ReplaceDialog, the platform's modeless Find and Replace dialogs, owned by
// the main window and alive for the whole run; the F3 search; and the searches and
// replacements they ask for in the active document's editor. Every search goes forward
// from the end of the selection to the end of the text, never round.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <string>

#include "document/find_text.h"

namespace quillet {

class Messages;

// What finding needs from the window that owns the dialogs.
class FindHost {
 public:
  // The owner of the dialogs and of the messages; it comes to the top when a search finds.
  virtual HWND MessageOwner() const = 0;
  virtual Messages& messages() = 0;
  // The editor of the active document window; null when none is active.
  virtual HWND ActiveEditor() const = 0;

 protected:
  ~FindHost() = default;
};

class FindReplace {
 public:
  explicit FindReplace(FindHost& host) : host_(host) {}
  FindReplace(const FindReplace&) = delete;
  FindReplace& operator=(const FindReplace&) = delete;

  // The registered message the dialogs send their requests to the owner with.
  static UINT RequestMessage();

  // Shows a dialog (closing the other), with a selection as its find text.
  void ShowFind();
  void ShowReplace();
  // F3: searches again with the Find dialog's text, or shows that dialog when it has none.
  void FindNext();
  // A request of one of the dialogs (the lParam of RequestMessage).
  void OnRequest(const FINDREPLACEA& request);
  // The dialogs' own keys (Tab, Enter, Esc, Alt+letters) while they have the focus;
  // true when msg was theirs.
  bool TranslateDialogKey(MSG& msg);

  HWND find_dialog() const { return find_.window; }
  HWND replace_dialog() const { return replace_.window; }

 private:
  struct Dialog {
    FINDREPLACEA request{};
    std::array<char, kFindTextLimit + 1> what{}, with{};
    HWND window = nullptr;
  };
  void Show(Dialog& dialog, Dialog& other);
  void TakeSelection(Dialog& dialog);
  // FindDialogFind and ReplaceDialogFind.
  void Search(const Dialog& dialog);
  // ReplaceDialogReplace: one occurrence, or all of them up to the end of the text.
  void Replace(bool all);
  long FindAfterSelection(HWND editor, const std::string& text, bool match_case) const;

  FindHost& host_;
  Dialog find_, replace_;
};

}  // namespace quillet
