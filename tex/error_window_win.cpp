#include "tex/error_window_win.h"

#include <windows.h>

#include <string>

#include "editor/editor_win.h"
#include "win/controls_win.h"

namespace quillet {

bool TErrorWin::Create(HWND owner) {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, ex_style = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  // Placed by the main window when first shown.
  if (!CreateFormAt("TErrorWin", "ｴﾗｰﾒｯｾｰｼﾞ", {CW_USEDEFAULT, CW_USEDEFAULT}, {435, 135}, style, ex_style, owner)) {
    return false;
  }
  // The program's own text control, read-only: it shows logs of any size quickly.
  Memo = CreateEditor(hwnd(), 1);
  if (!Memo) return false;
  SendMessageA(Memo, EM_SETREADONLY, TRUE, 0);
  SendMessageA(Memo, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
  RECT client;
  GetClientRect(hwnd(), &client);
  MoveWindow(Memo, 0, 0, client.right, client.bottom, FALSE);
  return true;
}

void TErrorWin::ShowText(const std::string& text, ForeignChars chars) {
  SendMessageA(Memo, EM_SETFOREIGNCHARS, FALSE, reinterpret_cast<LPARAM>(&chars));
  SetWindowTextA(Memo, text.c_str());
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
