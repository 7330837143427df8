// Mouse: click, drag with auto-scroll, double-click, wheel.
#include <algorithm>

#include "core/text_words.h"
#include "editor/editor_control_win.h"

namespace quillet {

void EditorControl::OnButtonDown(POINT pt, bool shift) {
  SetFocus(hwnd_);
  CompleteComposition();
  pending_lead_ = 0;
  std::size_t pos = PosFromPoint(pt);
  Select(shift ? text_.anchor() : pos, pos);
  dragging_ = true;
  SetCapture(hwnd_);
}

void EditorControl::OnMouseMove(POINT pt) {
  if (!dragging_) return;
  Select(text_.anchor(), PosFromPoint(pt));
  RECT rc;
  GetClientRect(hwnd_, &rc);
  // Outside the text the selection keeps growing on a timer while the view scrolls.
  if (PtInRect(&rc, pt)) {
    KillTimer(hwnd_, kAutoScrollTimer);
  } else {
    SetTimer(hwnd_, kAutoScrollTimer, 50, nullptr);
  }
}

void EditorControl::OnAutoScroll() {
  POINT pt;
  GetCursorPos(&pt);
  ScreenToClient(hwnd_, &pt);
  RECT rc;
  GetClientRect(hwnd_, &rc);
  long lines = pt.y < 0 ? -1 : pt.y >= rc.bottom ? 1 : 0;
  int pixels = pt.x < 0 ? -ave_width_ * 2 : pt.x >= rc.right ? ave_width_ * 2 : 0;
  ScrollBy(lines, pixels);
  POINT inside{std::clamp<LONG>(pt.x, -scroll_x_, rc.right), std::clamp<LONG>(pt.y, -1, rc.bottom)};
  Select(text_.anchor(), PosFromPoint(inside));
}

void EditorControl::EndDrag() {
  if (!dragging_) return;
  dragging_ = false;
  KillTimer(hwnd_, kAutoScrollTimer);
  if (GetCapture() == hwnd_) ReleaseCapture();
}

void EditorControl::OnDoubleClick(POINT pt) {
  auto [begin, end] = WordAround(text_, PosFromPoint(pt));
  Select(begin, end);
}

void EditorControl::OnWheel(short delta) {
  UINT lines_per_notch = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines_per_notch, 0);
  wheel_rest_ += delta;
  long notches = wheel_rest_ / WHEEL_DELTA;
  wheel_rest_ %= WHEEL_DELTA;
  if (notches) ScrollBy(-notches * static_cast<long>(lines_per_notch), 0);
}

}  // namespace quillet
