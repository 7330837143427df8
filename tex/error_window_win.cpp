#include "tex/error_window_win.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/sjis.h"
#include "editor/editor_win.h"
#include "tex/log_scan.h"
#include "win/controls_win.h"
#include "win/system_dll_win.h"

namespace quillet {

namespace {

// The text control's double-click and Enter ask for the place of the caret's line, after
// the control has placed the caret.
LRESULT CALLBACK JumpKeys(HWND memo, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR window) {
  if (msg == WM_NCDESTROY) RemoveSubclass(memo, JumpKeys, 0);
  LRESULT result = DefSubclass(memo, msg, wp, lp);
  if (msg == WM_LBUTTONDBLCLK || (msg == WM_KEYDOWN && wp == VK_RETURN)) {
    reinterpret_cast<TErrorWin*>(window)->JumpFromCaretLine();
  }
  return result;
}

}  // namespace

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
  SubclassWindow(Memo, JumpKeys, 0, reinterpret_cast<DWORD_PTR>(this));
  SendMessageA(Memo, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
  RECT client;
  GetClientRect(hwnd(), &client);
  MoveWindow(Memo, 0, 0, client.right, client.bottom, FALSE);
  return true;
}

void TErrorWin::JumpFromCaretLine() {
  DWORD caret = 0;
  SendMessageA(Memo, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  LRESULT index = SendMessageA(Memo, EM_LINEFROMCHAR, caret, 0);
  auto start = static_cast<WPARAM>(SendMessageA(Memo, EM_LINEINDEX, static_cast<WPARAM>(index), 0));
  std::string line(static_cast<std::size_t>(SendMessageA(Memo, EM_LINELENGTH, start, 0)) + sizeof(WORD), '\0');
  *reinterpret_cast<WORD*>(line.data()) = static_cast<WORD>(line.size());
  line.resize(static_cast<std::size_t>(
      SendMessageA(Memo, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(line.data()))));
  std::optional<WindowPlace> place = PlaceOfWindowLine(line);
  if (!place || source_.empty() || !on_jump) return;
  std::string file = place->file.empty() ? source_ : place->file;
  for (std::size_t i = 0; i < file.size(); i += CharLength(file, i)) {
    if (file[i] == '/') file[i] = '\\';
  }
  // A tool names the files it read from the source's folder.
  bool full = file.size() > 1 && (file[1] == ':' || file[0] == '\\');
  on_jump(full ? file : ExtractFilePath(source_) + file, place->line);
}

void TErrorWin::ShowText(const std::string& text, ForeignChars chars, const std::string& source) {
  source_ = source;
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
