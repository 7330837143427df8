#include "document/find_replace_win.h"

#include <dlgs.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "win/message_dialog_win.h"
#include "win/system_dll_win.h"

namespace quillet {

namespace {

bool MatchCase(const FINDREPLACEA& request) { return (request.Flags & FR_MATCHCASE) != 0; }

// The editor neither draws nor notifies until the run of replacements is over.
class RedrawHold {
 public:
  explicit RedrawHold(HWND editor) : editor_(editor) { SendMessageA(editor_, WM_SETREDRAW, FALSE, 0); }
  ~RedrawHold() { SendMessageA(editor_, WM_SETREDRAW, TRUE, 0); }
  RedrawHold(const RedrawHold&) = delete;
  RedrawHold& operator=(const RedrawHold&) = delete;

 private:
  HWND editor_;
};

void Select(HWND editor, long start, std::size_t length) {
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(start), start + static_cast<long>(length));
}

}  // namespace

UINT FindReplace::RequestMessage() {
  static const UINT message = RegisterWindowMessageA(FINDMSGSTRINGA);
  return message;
}

void FindReplace::ShowFind() { Show(find_, replace_); }

void FindReplace::ShowReplace() { Show(replace_, find_); }

void FindReplace::FindNext() {
  if (replace_.window) PostMessageA(replace_.window, WM_CLOSE, 0, 0);
  if (find_.what[0]) {
    Search(find_);
  } else {
    ShowFind();
  }
}

void FindReplace::Show(Dialog& dialog, Dialog& other) {
  if (other.window) PostMessageA(other.window, WM_CLOSE, 0, 0);
  TakeSelection(dialog);
  if (dialog.window) {
    BringWindowToTop(dialog.window);
    return;
  }
  bool replace = &dialog == &replace_;
  DWORD kept = dialog.request.Flags & FR_MATCHCASE;
  dialog.request = FINDREPLACEA{};
  dialog.request.lStructSize = sizeof(dialog.request);
  dialog.request.hwndOwner = host_.MessageOwner();
  dialog.request.Flags = FR_DOWN | FR_HIDEWHOLEWORD | (replace ? 0 : FR_NOUPDOWN) | kept;
  dialog.request.lpstrFindWhat = dialog.what.data();
  dialog.request.wFindWhatLen = static_cast<WORD>(dialog.what.size());
  if (replace) {
    dialog.request.lpstrReplaceWith = dialog.with.data();
    dialog.request.wReplaceWithLen = static_cast<WORD>(dialog.with.size());
  }
  dialog.window = FindTextDialog(dialog.request, replace);
}

// A selection becomes the dialog's find text; without one the dialog keeps its own.
void FindReplace::TakeSelection(Dialog& dialog) {
  HWND editor = host_.ActiveEditor();
  DWORD start = 0, end = 0;
  if (editor) SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (end <= start) return;
  // One byte more than the dialog keeps, so the cut falls on a character boundary.
  std::array<char, kFindTextLimit + 2> selected{};
  TEXTRANGEA range{{static_cast<LONG>(start), static_cast<LONG>(std::min<DWORD>(end, start + kFindTextLimit + 1))},
                   selected.data()};
  SendMessageA(editor, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  std::string text = DialogFindText(selected.data());
  std::memcpy(dialog.what.data(), text.c_str(), text.size() + 1);
  if (dialog.window) SetDlgItemTextA(dialog.window, edt1, text.c_str());
}

void FindReplace::OnRequest(const FINDREPLACEA& request) {
  Dialog& dialog = &request == &replace_.request ? replace_ : find_;
  if (request.Flags & FR_DIALOGTERM) {
    dialog.window = nullptr;
  } else if (request.Flags & FR_FINDNEXT) {
    Search(dialog);
  } else if (request.Flags & (FR_REPLACE | FR_REPLACEALL)) {
    Replace((request.Flags & FR_REPLACEALL) != 0);
  }
}

bool FindReplace::TranslateDialogKey(MSG& msg) {
  for (HWND dialog : {find_.window, replace_.window}) {
    if (dialog && IsDialogMessageA(dialog, &msg)) return true;
  }
  return false;
}

long FindReplace::FindAfterSelection(HWND editor, const std::string& text, bool match_case) const {
  DWORD start = 0, end = 0;
  SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  auto length = static_cast<LONG>(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0));
  FINDTEXTA find{{static_cast<LONG>(end), length + 1}, text.c_str()};
  WPARAM flags = FR_DOWN | (match_case ? FR_MATCHCASE : 0);
  return static_cast<long>(SendMessageA(editor, EM_FINDTEXT, flags, reinterpret_cast<LPARAM>(&find)));
}

void FindReplace::Search(const Dialog& dialog) {
  HWND editor = host_.ActiveEditor();
  if (!editor) return;
  std::string text = DialogFindText(dialog.what.data());
  long found = FindAfterSelection(editor, text, MatchCase(dialog.request));
  if (found < 0) {
    host_.messages().Inform(host_.MessageOwner(), NotFoundMessage(text));
    return;
  }
  BringWindowToTop(host_.MessageOwner());
  Select(editor, found, text.size());
}

// Each search starts after the text put in, so a replacement is never searched again.
void FindReplace::Replace(bool all) {
  HWND editor = host_.ActiveEditor();
  if (!editor) return;
  std::string what = DialogFindText(replace_.what.data()), with = DialogFindText(replace_.with.data());
  bool match_case = MatchCase(replace_.request);
  int count = 0;
  {
    RedrawHold hold(editor);
    for (long found; (found = FindAfterSelection(editor, what, match_case)) >= 0;) {
      if (count == 0) BringWindowToTop(host_.MessageOwner());
      Select(editor, found, what.size());
      SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(with.c_str()));
      // The editor refuses an edit that would join a lone lead byte to its new neighbour
      // and leaves the match selected; the search then goes on after it, or it would find
      // it again for ever.
      DWORD start = 0, end = 0;
      SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      if (start != end) continue;
      Select(editor, found, with.size());
      ++count;
      if (!all) return;
    }
  }
  host_.messages().Inform(host_.MessageOwner(), all ? ReplacedMessage(count) : kNoMoreMessage);
}

}  // namespace quillet
