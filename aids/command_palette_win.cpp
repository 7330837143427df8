#include "aids/command_palette_win.h"

#include <windows.h>
#include <commctrl.h>

#include "editor/editor_win.h"
#include "win/controls_win.h"

namespace quillet {

namespace {
constexpr int kSplitterHeight = 3;
constexpr UINT_PTR kRestackTimer = 1;

void AddColumn(HWND list, int index, const char* caption, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(caption);
  column.cx = width;
  SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}
}  // namespace

bool TInput::Create(HWND owner) {
  DWORD style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  // Made where the settings put it when they say nothing, so the usual start moves nothing.
  POINT place{GetSystemMetrics(SM_CXSCREEN) - kPaletteWidth,
              GetSystemMetrics(SM_CYSCREEN) - kPaletteHeight - kPaletteBottomGap};
  if (!CreateFormAt("TInput", "ｺﾏﾝﾄﾞ入力", place, {kPaletteWidth, kPaletteHeight}, style,
                    WS_EX_TOOLWINDOW | WS_EX_TOPMOST, owner)) {
    return false;
  }
  ListView1 = CreateControl(hwnd(),
                            {.class_name = WC_LISTVIEWA,
                             .style = WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                             .ex_style = WS_EX_CLIENTEDGE},
                            font());
  AddColumn(ListView1, 0, "ｺﾏﾝﾄﾞ名", 80);
  AddColumn(ListView1, 1, "種類", 65);
  SendMessageA(ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  Panel1 = CreateControl(hwnd(), {.class_name = "STATIC", .style = SS_NOTIFY}, font());
  Memo = CreateEditor(hwnd(), 2);
  if (!Memo) return false;
  SendMessageA(Memo, EM_SETREADONLY, TRUE, 0);
  SendMessageA(Memo, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
  return ListView1 && Panel1;
}

void TInput::FormResize() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int list_height = client.bottom * list_ratio / 100;
  MoveWindow(ListView1, 0, 0, client.right, list_height, TRUE);
  MoveWindow(Panel1, 0, list_height, client.right, kSplitterHeight, TRUE);
  int memo_top = list_height + kSplitterHeight;
  MoveWindow(Memo, 0, memo_top, client.right, client.bottom > memo_top ? client.bottom - memo_top : 0, TRUE);
}

LRESULT TInput::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_SHOWWINDOW:
      if (on_visibility) on_visibility(wp != FALSE);
      // Under Wine a floating window shown during start-up can end up drawn below the
      // main window that is activated just after it; it takes its place again shortly.
      if (wp && !restacked_) SetTimer(hwnd(), kRestackTimer, 500, nullptr);
      break;
    case WM_TIMER:
      if (wp == kRestackTimer) {
        KillTimer(hwnd(), kRestackTimer);
        restacked_ = true;
        RaiseFloatingWindow(hwnd());
        return 0;
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == Panel1) {
        SetCursor(LoadCursorA(nullptr, IDC_SIZENS));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
