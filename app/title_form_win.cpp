#include "app/title_form_win.h"

#include "artwork/artwork_win.h"
#include "quillet_version.h"
#include "win/controls_win.h"

namespace quillet {

namespace {
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr int kImage1X = 3, kImage1Y = 3, kImage2X = 236, kImage2Y = 7;

// A raised bevel of the given width round the rectangle.
void DrawBevel(HDC dc, RECT r, int width) {
  BrushHandle light(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
  BrushHandle dark(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
  for (int i = 0; i < width; ++i) {
    RECT top{r.left, r.top, r.right, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom};
    RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, light.get());
    FillRect(dc, &left, light.get());
    FillRect(dc, &bottom, dark.get());
    FillRect(dc, &right, dark.get());
    InflateRect(&r, -1, -1);
  }
}
}  // namespace

bool TTitleForm::Create() {
  if (!CreateForm("TTitleForm", "ﾊﾞｰｼﾞｮﾝ情報", kClientWidth, kClientHeight, WS_POPUP, WS_EX_TOPMOST)) return false;
  Button1 = CreateButton(hwnd(), font(), "OK", 280, 136, 91, 29, IDOK, true);
  ShowWindow(Button1, SW_HIDE);
  // Beside the title picture, under the logo; a long path breaks where it must.
  VersionLabel = CreateControl(hwnd(),
                               {.class_name = "STATIC", .text = "ﾊﾞｰｼﾞｮﾝ " QUILLET_VERSION, .x = 256, .y = 62,
                                .width = 120, .height = 14, .style = SS_LEFT, .visible = false},
                               font());
  SettingsLabel = CreateControl(hwnd(),
                                {.class_name = "STATIC", .x = 256, .y = 80, .width = 120, .height = 52,
                                 .style = SS_LEFT | SS_EDITCONTROL, .visible = false},
                                font());
  silver_.reset(CreateSolidBrush(kSilver));
  CenterOnScreen(hwnd());
  return Button1 != nullptr;
}

void TTitleForm::ShowSplash() {
  ShowWindow(hwnd(), SW_SHOWNA);
  UpdateWindow(hwnd());
}

void TTitleForm::ShowAbout(HWND owner, const std::string& settings_file) {
  std::string settings = "設定ﾌｧｲﾙ:\r\n";
  settings += settings_file;
  SetWindowTextA(SettingsLabel, settings.c_str());
  if (!about_) {
    about_ = true;
    for (HWND shown : {Button1, VersionLabel, SettingsLabel}) ShowWindow(shown, SW_SHOW);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    DWORD ex_style = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    SetWindowLongPtrA(hwnd(), GWL_STYLE, style);
    SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, ex_style);
    bevel_ = 1;
    SIZE size = WindowSizeForClient(kClientWidth, kTitlePictureHeight + 10, style, ex_style);
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
  CenterOnScreen(hwnd());
  SetFocus(Button1);
  ShowModal(owner);
}

void TTitleForm::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, silver_.get());
  PaintTitlePicture(dc, kImage1X, kImage1Y);
  PaintLogo(dc, kImage2X, kImage2Y);
  DrawBevel(dc, client, bevel_);
}

void TTitleForm::FormActivate() {
  if (on_activate) on_activate();
}

LRESULT TTitleForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wp), kSilver);
      return reinterpret_cast<LRESULT>(silver_.get());
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndModal(LOWORD(wp));
      return 0;
    default:
      return Form::HandleMessage(msg, wp, lp);
  }
}

}  // namespace quillet
