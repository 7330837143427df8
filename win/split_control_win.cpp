#include "win/split_control_win.h"

#include <windowsx.h>

namespace quillet {

bool SplitterBar::Create(HWND parent, bool horizontal) {
  horizontal_ = horizontal;
  return CreateWin({.class_name = "TSplitterBar", .style = WS_CHILD | WS_VISIBLE, .parent = parent});
}

LRESULT SplitterBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, horizontal_ ? IDC_SIZENS : IDC_SIZEWE));
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_CAPTURECHANGED:
      if (on_mouse) on_mouse(msg, wp, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

TSplitControl::~TSplitControl() { Cancel(); }

void TSplitControl::MouseDown(HWND splitter, WPARAM keys) {
  constexpr WPARAM kOthers = MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL;
  if (dragging() || (keys & (MK_LBUTTON | kOthers)) != MK_LBUTTON || GetKeyState(VK_MENU) < 0) return;
  RECT r;
  GetClientRect(splitter, &r);
  splitter_ = splitter;
  horizontal_ = r.right > r.bottom;
  position_ = 0;
  SetCapture(splitter);
  dc_ = GetDCEx(form_, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS | DCX_LOCKWINDOWUPDATE);
  pen_ = CreatePen(PS_SOLID, horizontal_ ? r.bottom : r.right, RGB(255, 255, 255));
  SelectObject(dc_, pen_);
  SetROP2(dc_, R2_XORPEN);
  DrawLine();
}

void TSplitControl::MouseMove(POINT at) {
  if (!dragging()) return;
  DrawLine();
  position_ = horizontal_ ? at.y : at.x;
  DrawLine();
}

std::optional<int> TSplitControl::MouseUp() {
  if (!dragging()) return std::nullopt;
  Cancel();
  RECT control;
  GetWindowRect(control_, &control);
  return (horizontal_ ? control.bottom - control.top : control.right - control.left) + position_;
}

void TSplitControl::Cancel() {
  if (!dragging()) return;
  DrawLine();
  splitter_ = nullptr;  // first: releasing the capture reports the capture's loss
  ReleaseCapture();
  ReleaseDC(form_, dc_);
  DeleteObject(pen_);
  dc_ = nullptr;
  pen_ = nullptr;
}

// Across the splitter's whole length, through the middle of its thickness.
void TSplitControl::DrawLine() const {
  RECT r;
  GetWindowRect(splitter_, &r);
  MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&r), 2);
  if (horizontal_) {
    int y = r.top + position_ + (r.bottom - r.top) / 2;
    MoveToEx(dc_, r.left, y, nullptr);
    LineTo(dc_, r.right, y);
  } else {
    int x = r.left + position_ + (r.right - r.left) / 2;
    MoveToEx(dc_, x, r.top, nullptr);
    LineTo(dc_, x, r.bottom);
  }
}

}  // namespace quillet
