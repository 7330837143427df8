#include "tex/error_window_win.h"

#include <windows.h>
#include <richedit.h>

#include "win/controls_win.h"

namespace quillet {

bool TErrorWin::Create(HWND owner) {
  LoadLibraryA("riched20.dll");
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  if (!CreateForm("TErrorWin", "ｴﾗｰﾒｯｾｰｼﾞ", 100, 100, style, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, owner)) return false;
  // Windows chooses the place; the size is the window's own.
  SetWindowPos(hwnd(), nullptr, 0, 0, 435, 135, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Memo = CreateControl(hwnd(),
                       {.class_name = RICHEDIT_CLASSA,
                        .style = ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_DISABLENOSCROLL | ES_AUTOVSCROLL},
                       font());
  SendMessageA(Memo, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  return Memo != nullptr;
}

LRESULT TErrorWin::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      MoveWindow(Memo, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_SHOWWINDOW:
      if (on_visibility) on_visibility(wp != FALSE);
      break;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
