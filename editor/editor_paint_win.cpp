// Painting: only the lines in the update region, each drawn into a one-line bitmap and
// copied to the window, so nothing flickers.
#include <algorithm>

#include "editor/editor_control_win.h"
#include "editor/foreign_text.h"

namespace quillet {

namespace {

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { BeginPaint(hwnd_, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return ps_.hdc; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
};

}  // namespace

void EditorControl::Paint() {
  PaintLines();
  UpdateScrollBars();  // lines seen for the first time may be the widest
}

void EditorControl::PaintLines() {
  PaintScope paint(hwnd_);
  RECT client;
  GetClientRect(hwnd_, &client);
  int width = client.right;
  if (width <= 0 || client.bottom <= 0) return;
  MemoryDc line_dc(CreateCompatibleDC(paint.dc()));
  BitmapHandle bitmap(CreateCompatibleBitmap(paint.dc(), width, line_height_));
  SelectIn keep_bitmap(line_dc.get(), bitmap.get());
  SelectIn keep_font(line_dc.get(), font_);
  SetBkMode(line_dc.get(), OPAQUE);
  long first_row = paint.area().top / line_height_;
  long last_row = (paint.area().bottom - 1) / line_height_;
  for (long row = first_row; row <= last_row; ++row) {
    std::size_t line = top_ + static_cast<std::size_t>(row);
    RECT all{0, 0, width, line_height_};
    FillRect(line_dc.get(), &all, GetSysColorBrush(COLOR_WINDOW));
    if (line < text_.LineCount()) PaintLine(line_dc.get(), line, width);
    BitBlt(paint.dc(), 0, static_cast<int>(row) * line_height_, width, line_height_, line_dc.get(), 0, 0, SRCCOPY);
  }
}

void EditorControl::PaintLine(HDC dc, std::size_t line, int width) {
  const std::vector<int>& xs = Layout(dc, line);
  std::size_t start = text_.LineStart(line);
  std::size_t end = text_.LineEnd(line);
  // Only the bytes that can show: from the last character starting left of the view to
  // the first one starting right of it.
  auto first = std::upper_bound(xs.begin(), xs.end(), scroll_x_);
  std::size_t from = text_.SnapBack(start + static_cast<std::size_t>(std::max<long>(0, first - xs.begin() - 1)));
  auto last = std::upper_bound(xs.begin(), xs.end(), scroll_x_ + width);
  std::size_t to = std::min(end, start + static_cast<std::size_t>(last - xs.begin()));
  to = to < end ? text_.NextChar(text_.SnapBack(to)) : end;
  std::size_t sel_begin = std::clamp(text_.SelStart(), from, to);
  std::size_t sel_end = std::clamp(text_.SelEnd(), from, to);
  DrawRun(dc, from, sel_begin, start, false);
  DrawRun(dc, sel_begin, sel_end, start, true);
  DrawRun(dc, sel_end, to, start, false);
  // A selected line break shows as a highlighted cell after the line's text.
  if (text_.SelStart() <= end && text_.SelEnd() > end && line + 1 < text_.LineCount()) {
    int x = xs.back() - scroll_x_ + kMargin;
    RECT cell{x, 0, x + ave_width_, line_height_};
    FillRect(dc, &cell, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  DrawMarks(dc, line, from - start, to - start);
  if (layout_gap_from_ != TextBuffer::kNoPos) DrawComposition(dc);
}

void EditorControl::DrawRun(HDC dc, std::size_t begin, std::size_t end, std::size_t line_start, bool selected) {
  if (begin >= end) return;
  SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
  SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const char* bytes = line_text_.data();
  std::size_t b = begin - line_start, e = end - line_start;
  auto x_of = [this](std::size_t i) { return layout_[i] - scroll_x_ + kMargin; };
  if (selected) {
    RECT box{x_of(b), 0, x_of(e), line_height_};
    FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  // Tabs are blank space; the pieces between them, and a document's own characters, are
  // drawn where the layout put them.
  std::string_view run(bytes, e);
  while (b < e) {
    if (b >= layout_gap_from_ && b < layout_gap_to_) {  // what the composition stands in for
      b = layout_gap_to_;
      continue;
    }
    if (bytes[b] == '\t') {
      ++b;
      continue;
    }
    if (IsForeignAt(run, b, chars_)) {
      DrawForeign(dc, x_of(b), 0, bytes + b);
      b += 2;
      continue;
    }
    std::size_t piece_end = std::min(PlainRunEnd(run, b, chars_), b < layout_gap_from_ ? layout_gap_from_ : e);
    TextOutA(dc, x_of(b), 0, bytes + b, static_cast<int>(piece_end - b));
    b = piece_end;
  }
}

// The composition in the editor's font on the window's colours, each clause underlined
// as the platform's own controls do it.
void EditorControl::DrawComposition(HDC dc) {
  int left = composition_x_ - scroll_x_ + kMargin;
  RECT box{left, 0, left + composition_xs_.back(), line_height_};
  FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  TextOutW(dc, left, 0, reinterpret_cast<LPCWSTR>(composition_.text.data()), static_cast<int>(composition_.text.size()));
  HBRUSH ink = GetSysColorBrush(COLOR_WINDOWTEXT);
  for (const UnderlineRun& run : CompositionUnderlines(composition_)) {
    // A pixel short at each end, so neighbouring clauses show apart.
    int x0 = left + composition_xs_[run.begin] + 1, x1 = left + composition_xs_[run.end] - 1;
    int thick = run.style == UnderlineStyle::kThick ? 2 : 1;
    for (int x = x0; x < x1; x += run.style == UnderlineStyle::kDotted ? 2 : x1 - x0) {
      RECT line{x, line_height_ - thick, run.style == UnderlineStyle::kDotted ? x + 1 : x1, line_height_};
      FillRect(dc, &line, ink);
    }
  }
}

}  // namespace quillet
