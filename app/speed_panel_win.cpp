#include "app/speed_panel_win.h"

#include <windows.h>
#include <commctrl.h>

#include "win/guard_win.h"
#include "win/system_dll_win.h"

namespace quillet {

namespace {
constexpr char kPanelClass[] = "QuilletSpeedPanel";

bool EnsureClass(WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, kPanelClass, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;  // no CS_DBLCLKS: a quick second click is a click too
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kPanelClass;
  return RegisterClassExA(&wc) != 0;
}

std::string HintPart(const char* hint, bool status) {
  std::string text = hint ? hint : "";
  std::size_t bar = text.find('|');
  if (bar == std::string::npos) return status ? std::string() : text;
  return status ? text.substr(bar + 1) : text.substr(0, bar);
}
}  // namespace

SpeedPanel::SpeedPanel() = default;

SpeedPanel::~SpeedPanel() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool SpeedPanel::Create(HWND parent, std::span<const SpeedButtonDef> buttons) {
  if (!EnsureClass(&SpeedPanel::Proc)) return false;
  for (const SpeedButtonDef& def : buttons) buttons_.push_back({def, def.enabled});
  RECT client{};
  GetClientRect(parent, &client);
  parent_ = parent;
  hwnd_ = CreateWindowExA(0, kPanelClass, "SpeedPanel", WS_CHILD | WS_VISIBLE, 0, 0, client.right, kSpeedPanelHeight,
                          parent, nullptr, GetModuleHandleA(nullptr), this);
  return hwnd_ != nullptr;
}

// The tip window costs start-up time and is needed only once the mouse is here.
void SpeedPanel::EnsureToolTips() {
  if (tips_) return;
  InitControls(ICC_BAR_CLASSES);
  tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!tips_) return;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    std::string text = HintPart(buttons_[i].def.hint, false);
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the control
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = i;
    info.rect = button_rect(i);
    info.lpszText = text.data();
    SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void SpeedPanel::Move(int width) {
  if (hwnd_) MoveWindow(hwnd_, 0, 0, width, kSpeedPanelHeight, TRUE);
}

void SpeedPanel::SetEnabled(std::size_t index, bool enabled) {
  if (index >= buttons_.size() || buttons_[index].enabled == enabled) return;
  buttons_[index].enabled = enabled;
  if (!enabled && tracking_ == index) EndPress();
  Redraw(index);
}

bool SpeedPanel::IsEnabled(std::size_t index) const { return index < buttons_.size() && buttons_[index].enabled; }

RECT SpeedPanel::button_rect(std::size_t index) const {
  int x = index < buttons_.size() ? buttons_[index].def.x : 0;
  return RECT{x, kSpeedButtonTop, x + kSpeedButtonSize, kSpeedButtonTop + kSpeedButtonSize};
}

std::string SpeedPanel::tooltip(std::size_t index) const {
  return index < buttons_.size() ? HintPart(buttons_[index].def.hint, false) : std::string();
}

std::optional<std::size_t> SpeedPanel::ButtonAt(LPARAM lp) const {
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    RECT r = button_rect(i);
    if (PtInRect(&r, p)) return i;
  }
  return std::nullopt;
}

void SpeedPanel::Redraw(std::size_t index) const {
  if (!hwnd_) return;
  RECT r = button_rect(index);
  InvalidateRect(hwnd_, &r, FALSE);
}

void SpeedPanel::MouseMoved(LPARAM lp) {
  EnsureToolTips();
  if (!watching_leave_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
    watching_leave_ = TrackMouseEvent(&tme) != FALSE;
  }
  std::optional<std::size_t> over = ButtonAt(lp);
  if (tracking_) {
    // While a button is held down only that button follows the mouse.
    if ((over == tracking_) != pressed_) {
      pressed_ = !pressed_;
      Redraw(*tracking_);
    }
    return;
  }
  SetHot(over);
  if (!over || hint_owner_ == over) return;
  hint_owner_ = over;
  if (on_hint) on_hint(HintPart(buttons_[*over].def.hint, true));
}

void SpeedPanel::MouseLeft() {
  watching_leave_ = false;
  SetHot(std::nullopt);
  if (!hint_owner_) return;
  hint_owner_.reset();
  if (on_hint) on_hint(std::string());
}

void SpeedPanel::SetHot(std::optional<std::size_t> button) {
  if (hot_ == button) return;
  if (hot_) Redraw(*hot_);
  hot_ = button;
  if (hot_) Redraw(*hot_);
}

void SpeedPanel::Press(LPARAM lp) {
  std::optional<std::size_t> over = ButtonAt(lp);
  if (!over || !buttons_[*over].enabled) return;
  tracking_ = over;
  pressed_ = true;
  SetCapture(hwnd_);
  Redraw(*over);
}

void SpeedPanel::Release(LPARAM lp) {
  if (!tracking_) return;
  std::size_t index = *tracking_;
  bool clicked = pressed_ && ButtonAt(lp) == index;
  EndPress();
  if (clicked) {
    SendMessageA(parent_, WM_COMMAND, MAKEWPARAM(buttons_[index].def.command_id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd_));
  }
}

void SpeedPanel::EndPress() {
  if (!tracking_) return;
  std::size_t index = *tracking_;
  tracking_.reset();
  pressed_ = false;
  Redraw(index);
  if (GetCapture() == hwnd_) ReleaseCapture();
}

void SpeedPanel::PaintButton(HDC dc, std::size_t index) const {
  const Button& b = buttons_[index];
  RECT r = button_rect(index);
  bool pressed = pressed_ && tracking_ == index;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (pressed) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  } else if (hot_ == index && b.enabled) {
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  }
  int offset = (kSpeedButtonSize - kToolGlyphSize) / 2 + (pressed ? 1 : 0);
  PaintToolGlyph(dc, r.left + offset, r.top + offset, b.def.glyph, b.enabled);
}

void SpeedPanel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);  // lowered outer, raised inner bevel
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    RECT b = button_rect(i), overlap;
    if (IntersectRect(&overlap, &b, &ps.rcPaint)) PaintButton(dc, i);
  }
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK SpeedPanel::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<SpeedPanel*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<SpeedPanel*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  LRESULT result = Guarded(hwnd, FailedMessageResult(msg), [&] { return self->HandleMessage(msg, wp, lp); });
  if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
  return result;
}

LRESULT SpeedPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE: MouseMoved(lp); return 0;
    case WM_MOUSELEAVE: MouseLeft(); return 0;
    case WM_LBUTTONDOWN: Press(lp); return 0;
    case WM_LBUTTONUP: Release(lp); return 0;
    case WM_CAPTURECHANGED: EndPress(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_DESTROY:
      if (tips_) DestroyWindow(tips_);
      tips_ = nullptr;
      return 0;
    default: return DefWindowProcA(hwnd_, msg, wp, lp);
  }
}

}  // namespace quillet
