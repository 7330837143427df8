// The Find menu: find and replace through the modeless dialogs, and the jumps to a line,
// the top and the end of the active document.
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "document/jump_dialog_win.h"
#include "document/jump_line.h"
#include "document/mdi_child_win.h"

namespace quillet {

HWND TMainForm::ActiveEditor() const {
  TMDIChild* doc = ActiveChild();
  return doc ? doc->Memo : nullptr;
}

void TMainForm::FindStrItemClick() { finder_.ShowFind(); }

void TMainForm::ReplaceStrItemClick() { finder_.ShowReplace(); }

void TMainForm::NextItemClick() { finder_.FindNext(); }

void TMainForm::JumptoItemClick() {
  if (!ActiveEditor()) return;
  TJumpDlg& dialog = app_.JumpDlg();
  dialog.Prepare(HighestJumpLine(ActiveEditor()));
  CenterOnScreen(dialog.hwnd());
  if (dialog.ShowModal(hwnd()) != IDOK) return;
  HWND editor = ActiveEditor();
  if (!editor) return;
  int line = dialog.Number();
  if (line <= 0 || line > HighestJumpLine(editor)) {
    messages().Warn(hwnd(), kLineOutOfRange);
    return;
  }
  long start = LineStartForJump(editor, line);
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(start), start);
}

void TMainForm::JumpTopItemClick() {
  if (HWND editor = ActiveEditor()) SendMessageA(editor, EM_SETSEL, 0, 0);
}

void TMainForm::JumpEndItemClick() {
  HWND editor = ActiveEditor();
  if (!editor) return;
  LRESULT end = SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0);
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(end), end);
}

}  // namespace quillet
