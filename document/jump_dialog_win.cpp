#include "document/jump_dialog_win.h"

#include "document/jump_line.h"
#include "win/controls_win.h"

namespace quillet {

namespace {
// Not IDCANCEL: the Escape key does not press it.
constexpr int kButton2 = 101;
constexpr int kJumpLine = 102;
}  // namespace

bool TJumpDlg::Create() {
  if (!CreateForm("TJumpDlg", "指定行へｼﾞｬﾝﾌﾟ", 149, 74, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                  WS_EX_DLGMODALFRAME)) {
    return false;
  }
  HFONT f = font();
  JumpRange = CreateLabel(hwnd(), f, "", 8, 8, 133, 14);
  JumpLine = CreateEditBox(hwnd(), f, 8, 24, 133, 20, kJumpLine);
  Button1 = CreateButton(hwnd(), f, "ｼﾞｬﾝﾌﾟ(&J)", 8, 48, 64, 22, IDOK, true);
  Button2 = CreateButton(hwnd(), f, "ｷｬﾝｾﾙ", 77, 48, 64, 22, kButton2);
  return JumpRange && JumpLine && Button1 && Button2;
}

void TJumpDlg::Prepare(int highest) {
  SetControlText(JumpLine, "");
  JumpLineChange();
  SetControlText(JumpRange, JumpRangeText(highest));
}

int TJumpDlg::Number() const { return ReadLineNumber(ControlText(JumpLine)); }

void TJumpDlg::JumpLineChange() { EnableWindow(Button1, GetWindowTextLengthA(JumpLine) > 0); }

void TJumpDlg::FormActivate() { SetFocus(JumpLine); }

LRESULT TJumpDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    if (LOWORD(wp) == kJumpLine && HIWORD(wp) == EN_CHANGE) JumpLineChange();
    if (LOWORD(wp) == IDOK && IsWindowEnabled(Button1)) EndModal(IDOK);
    if (LOWORD(wp) == kButton2) EndModal(IDCANCEL);
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

int HighestJumpLine(HWND editor) {
  auto lines = static_cast<long>(SendMessageA(editor, EM_GETLINECOUNT, 0, 0));
  LRESULT last_start = SendMessageA(editor, EM_LINEINDEX, static_cast<WPARAM>(lines - 1), 0);
  bool last_empty = SendMessageA(editor, EM_LINELENGTH, static_cast<WPARAM>(last_start), 0) == 0;
  return HighestJumpLine(lines, last_empty);
}

long LineStartForJump(HWND editor, int line) {
  auto start = static_cast<long>(SendMessageA(editor, EM_LINEINDEX, static_cast<WPARAM>(line - 1), 0));
  return start >= 0 ? start : static_cast<long>(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0));
}

}  // namespace quillet
