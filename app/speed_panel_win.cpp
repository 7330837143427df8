#include "app/speed_panel_win.h"

#include <windows.h>
#include <commctrl.h>

namespace quillet {

namespace {
constexpr char kPanelClass[] = "QuilletSpeedPanel";
constexpr char kButtonClass[] = "QuilletSpeedButton";

bool EnsureClass(const char* name, WNDPROC proc) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(instance, name, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;  // no CS_DBLCLKS: a quick second click is a click too
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

void TrackLeave(HWND hwnd) {
  TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
  TrackMouseEvent(&tme);
}

std::string HintPart(const char* hint, bool status) {
  std::string text = hint ? hint : "";
  std::size_t bar = text.find('|');
  if (bar == std::string::npos) return status ? std::string() : text;
  return status ? text.substr(bar + 1) : text.substr(0, bar);
}

template <typename Self>
Self* Bound(HWND hwnd, UINT msg, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Self*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  return reinterpret_cast<Self*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}
}  // namespace

// One flat button: flat until the mouse is over it, raised then, sunken while pressed.
// It never takes the focus and keeps its own enabled flag, so that its tool tip still
// shows while it is disabled.
class SpeedButton {
 public:
  SpeedButton(SpeedPanel& panel, std::size_t index, const SpeedButtonDef& def)
      : panel_(panel), index_(index), def_(def), enabled_(def.enabled) {}

  bool Create(HWND parent) {
    hwnd_ = CreateWindowExA(0, kButtonClass, def_.name, WS_CHILD | WS_VISIBLE, def_.x, kSpeedButtonTop,
                            kSpeedButtonSize, kSpeedButtonSize, parent, nullptr, GetModuleHandleA(nullptr), this);
    return hwnd_ != nullptr;
  }

  HWND hwnd() const { return hwnd_; }
  const SpeedButtonDef& def() const { return def_; }
  bool enabled() const { return enabled_; }

  void SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled) EndPress();
    Redraw();
  }

  // The panel says which button the mouse is over.
  void SetHot(bool hot) {
    hot_ = hot;
    Redraw();
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    SpeedButton* self = Bound<SpeedButton>(hwnd, msg, lp);
    if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
    LRESULT result = self->HandleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
    return result;
  }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_MOUSEMOVE: MouseMove(lp); return 0;
      case WM_MOUSELEAVE: panel_.MouseLeft(hwnd_); return 0;
      case WM_LBUTTONDOWN: Press(); return 0;
      case WM_LBUTTONUP: Release(lp); return 0;
      case WM_CAPTURECHANGED: EndPress(); return 0;
      case WM_ERASEBKGND: return 1;
      case WM_PAINT: Paint(); return 0;
      default: return DefWindowProcA(hwnd_, msg, wp, lp);
    }
  }

  bool Inside(LPARAM lp) const {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    RECT r;
    GetClientRect(hwnd_, &r);
    return PtInRect(&r, p) != FALSE;
  }

  void MouseMove(LPARAM lp) {
    panel_.MouseMoved(hwnd_, index_);
    if (tracking_ && Inside(lp) != pressed_) {
      pressed_ = !pressed_;
      Redraw();
    }
  }

  void Press() {
    if (!enabled_) return;
    tracking_ = pressed_ = true;
    SetCapture(hwnd_);
    Redraw();
  }

  void Release(LPARAM lp) {
    if (!tracking_) return;
    bool clicked = pressed_ && Inside(lp);
    EndPress();
    if (clicked) panel_.ButtonClicked(index_);
  }

  void EndPress() {
    bool was_tracking = tracking_;
    tracking_ = false;
    if (pressed_) {
      pressed_ = false;
      Redraw();
    }
    if (was_tracking && GetCapture() == hwnd_) ReleaseCapture();
  }

  void Redraw() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  }

  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (pressed_) {
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot_ && enabled_) {
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
    int offset = (kSpeedButtonSize - kToolGlyphSize) / 2 + (pressed_ ? 1 : 0);
    PaintToolGlyph(dc, offset, offset, def_.glyph, enabled_);
    EndPaint(hwnd_, &ps);
  }

  SpeedPanel& panel_;
  std::size_t index_;
  SpeedButtonDef def_;
  HWND hwnd_ = nullptr;
  bool enabled_;
  bool hot_ = false;
  bool tracking_ = false;  // the mouse went down here and has not come up yet
  bool pressed_ = false;   // ... and is over the button now
};

SpeedPanel::SpeedPanel() = default;

SpeedPanel::~SpeedPanel() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool SpeedPanel::Create(HWND parent, std::span<const SpeedButtonDef> buttons) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  if (!EnsureClass(kPanelClass, &SpeedPanel::Proc) || !EnsureClass(kButtonClass, &SpeedButton::Proc)) return false;
  RECT client{};
  GetClientRect(parent, &client);
  parent_ = parent;
  hwnd_ = CreateWindowExA(0, kPanelClass, "SpeedPanel", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                          kSpeedPanelHeight, parent, nullptr, GetModuleHandleA(nullptr), this);
  if (!hwnd_) return false;
  for (const SpeedButtonDef& def : buttons) {
    buttons_.push_back(std::make_unique<SpeedButton>(*this, buttons_.size(), def));
    if (!buttons_.back()->Create(hwnd_)) return false;
  }
  return AddToolTips();
}

bool SpeedPanel::AddToolTips() {
  tips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  if (!tips_) return false;
  for (const auto& b : buttons_) {
    std::string text = HintPart(b->def().hint, false);
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the control
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(b->hwnd());
    info.lpszText = text.data();
    if (!SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info))) return false;
  }
  return true;
}

void SpeedPanel::Move(int width) {
  if (hwnd_) MoveWindow(hwnd_, 0, 0, width, kSpeedPanelHeight, TRUE);
}

void SpeedPanel::SetEnabled(std::size_t index, bool enabled) {
  if (index < buttons_.size()) buttons_[index]->SetEnabled(enabled);
}

bool SpeedPanel::IsEnabled(std::size_t index) const {
  return index < buttons_.size() && buttons_[index]->enabled();
}

HWND SpeedPanel::button(std::size_t index) const {
  return index < buttons_.size() ? buttons_[index]->hwnd() : nullptr;
}

std::string SpeedPanel::tooltip(std::size_t index) const {
  return index < buttons_.size() ? HintPart(buttons_[index]->def().hint, false) : std::string();
}

void SpeedPanel::MouseMoved(HWND window, std::optional<std::size_t> button) {
  if (tracked_ != window) {
    TrackLeave(window);
    tracked_ = window;
  }
  SetHot(button);
  if (!button || hint_owner_ == button) return;
  hint_owner_ = button;
  if (on_hint) on_hint(HintPart(buttons_[*button]->def().hint, true));
}

void SpeedPanel::MouseLeft(HWND window) {
  if (window != tracked_) return;  // the mouse has been seen over another window since
  tracked_ = nullptr;
  // Still over the panel: the window it is over now takes over with its next move.
  if (CursorOverPanel()) return;
  SetHot(std::nullopt);
  if (!hint_owner_) return;
  hint_owner_.reset();
  if (on_hint) on_hint(std::string());
}

bool SpeedPanel::CursorOverPanel() const {
  POINT cursor;
  GetCursorPos(&cursor);
  HWND over = WindowFromPoint(cursor);
  return over && (over == hwnd_ || IsChild(hwnd_, over));
}

void SpeedPanel::SetHot(std::optional<std::size_t> button) {
  if (hot_ == button) return;
  if (hot_) buttons_[*hot_]->SetHot(false);
  hot_ = button;
  if (hot_) buttons_[*hot_]->SetHot(true);
}

void SpeedPanel::ButtonClicked(std::size_t index) {
  const SpeedButton& b = *buttons_[index];
  SendMessageA(parent_, WM_COMMAND, MAKEWPARAM(b.def().command_id, BN_CLICKED), reinterpret_cast<LPARAM>(b.hwnd()));
}

void SpeedPanel::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT r;
  GetClientRect(hwnd_, &r);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);  // lowered outer, raised inner bevel
  EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK SpeedPanel::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  SpeedPanel* self = Bound<SpeedPanel>(hwnd, msg, lp);
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCCREATE) self->hwnd_ = hwnd;
  LRESULT result = self->HandleMessage(msg, wp, lp);
  if (msg == WM_NCDESTROY) self->hwnd_ = nullptr;
  return result;
}

LRESULT SpeedPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE: MouseMoved(hwnd_, std::nullopt); return 0;
    case WM_MOUSELEAVE: MouseLeft(hwnd_); return 0;
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
