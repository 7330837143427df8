// Marks over what shows as nothing: full-width spaces, tabs and line ends, drawn with
// lines in a pale colour so they never depend on the font and read on the selection too.
// Only the screen has them: printing and copies take the text alone.
#include <algorithm>

#include "editor/editor_control_win.h"

namespace quillet {

namespace {

constexpr COLORREF kMarkColour = RGB(0xA8, 0xB8, 0xD0);

// A line from (x0, y0) to (x1, y1), both ends drawn.
void Stroke(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  LineTo(dc, x1 + (x1 > x0) - (x1 < x0), y1 + (y1 > y0) - (y1 < y0));
}

// A square outline inset in the character's cell.
void SpaceMark(HDC dc, int left, int right, int height) {
  int side = std::max(3, std::min(right - left, height) - 4);
  int x = left + (right - left - side) / 2, y = (height - side) / 2;
  Rectangle(dc, x, y, x + side, y + side);
}

// "»" at the start of the tab's blank.
void TabMark(HDC dc, int left, int mid, int a) {
  for (int x : {left + 1, left + a + 2}) {
    Stroke(dc, x, mid - a, x + a, mid);
    Stroke(dc, x + a, mid, x, mid + a);
  }
}

// "↲" in a cell of width starting at left.
void LineEndMark(HDC dc, int left, int width, int mid, int a) {
  int right = left + width - 2, base = mid + a;
  left += 1;
  Stroke(dc, right, mid - a - 1, right, base);
  Stroke(dc, right, base, left, base);
  Stroke(dc, left, base, left + a, base - a);
  Stroke(dc, left, base, left + a, base + a);
}

}  // namespace

void EditorControl::SetMarks(WPARAM marks) {
  if (marks == marks_) return;
  marks_ = marks;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void EditorControl::DrawMarks(HDC dc, std::size_t line, std::size_t from, std::size_t to) {
  if (!marks_) return;
  if (!mark_pen_) mark_pen_.reset(CreatePen(PS_SOLID, 1, kMarkColour));
  SelectIn keep_pen(dc, mark_pen_.get());
  SelectIn keep_brush(dc, GetStockObject(NULL_BRUSH));
  auto x_of = [this](std::size_t i) { return layout_[i] - scroll_x_ + kMargin; };
  int mid = line_height_ / 2;
  int arm = std::max(2, (ave_width_ - 3) / 2);  // half the height of a chevron, as wide
  FindBlanks(line_text_, from, to, marks_ & kMarkFullWidthSpace, marks_ & kMarkTab, blanks_);
  for (const BlankChar& blank : blanks_) {
    if (blank.at >= layout_gap_from_ && blank.at < layout_gap_to_) continue;  // under a composition
    int left = x_of(blank.at);
    if (blank.kind == BlankKind::kTab) {
      // A tab just before its stop is narrow: its chevrons shrink to fit.
      TabMark(dc, left, mid, std::clamp((x_of(blank.at + 1) - left - 3) / 2, 1, arm));
    } else {
      SpaceMark(dc, left, x_of(blank.at + 2), line_height_);
    }
  }
  if ((marks_ & kMarkLineEnd) && line + 1 < text_.LineCount()) LineEndMark(dc, x_of(line_text_.size()), ave_width_, mid, arm);
}

}  // namespace quillet
