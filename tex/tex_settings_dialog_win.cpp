#include "tex/tex_settings_dialog_win.h"

#include <windows.h>
#include <commctrl.h>

#include "win/controls_win.h"

namespace quillet {

namespace {
enum : int { kPageCtl = 400, kApplyBtn, kHelpBtn };
}

bool TPagesDlg::Create() {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  return CreateForm("TPagesDlg", "TeXの設定", 421, 295, style, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP);
}

// The pages are filled from the TeX configuration each time the dialog shows, so they
// are made only when it first shows.
void TPagesDlg::BuildContents() {
  if (!PageCtl.Create(hwnd(), font(), 8, 8, 405, 246, kPageCtl,
                      {"環境変数", "ﾌｫｰﾏｯﾄﾌｧｲﾙの作成", "TeXﾒﾆｭｰの編集", "ﾌｫﾝﾄのﾏｯﾋﾟﾝｸﾞ", "基本ｽﾀｲﾙの登録"},
                      TCS_MULTILINE)) {
    return;
  }
  HFONT f = font();
  OKBtn = CreateButton(hwnd(), f, "OK", 81, 262, 78, 25, IDOK, true);
  CancelBtn = CreateButton(hwnd(), f, "ｷｬﾝｾﾙ", 165, 262, 78, 25, IDCANCEL);
  ApplyBtn = CreateButton(hwnd(), f, "更新(&A)", 249, 262, 78, 25, kApplyBtn);
  HelpBtn = CreateButton(hwnd(), f, "ﾍﾙﾌﾟ", 333, 262, 78, 25, kHelpBtn);
  EnableWindow(ApplyBtn, FALSE);
  for (auto [button, context] : {std::pair{OKBtn, 75}, {CancelBtn, 76}, {ApplyBtn, 77}, {HelpBtn, 78}}) {
    SetWindowContextHelpId(button, static_cast<DWORD>(context));
  }
}

LRESULT TPagesDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
    EndModal(LOWORD(wp));
    return 0;
  }
  if (msg == WM_COMMAND && LOWORD(wp) == kHelpBtn) {
    RequestHelp(hwnd(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(48 + PageCtl.active()));
    return 0;
  }
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TCN_SELCHANGE) {
    PageCtl.ShowSelected();
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
