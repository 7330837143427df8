// Font metrics, line layout, scrolling and the caret.
#include <algorithm>

#include "editor/editor_control_win.h"
#include "editor/foreign_text.h"

namespace quillet {

namespace {

// A DC of the window with the editor's font selected, for measuring.
class MeasureDc {
 public:
  MeasureDc(HWND hwnd, HFONT font) : dc_(hwnd), font_(dc_.get(), font) {}
  HDC get() const { return dc_.get(); }

 private:
  WindowDc dc_;
  SelectIn font_;
};

}  // namespace

void EditorControl::SetFont(HFONT font, bool redraw) {
  font_ = font ? font : default_font_.get();
  UpdateMetrics();
  widest_ = 0;
  if (GetFocus() == hwnd_) {
    DestroyCaret();
    CreateCaret(hwnd_, nullptr, 2, line_height_);
    ShowCaret(hwnd_);
  }
  UpdateScrollBars();
  ScrollCaretIntoView();
  if (redraw) InvalidateRect(hwnd_, nullptr, FALSE);
}

void EditorControl::UpdateMetrics() {
  MeasureDc dc(hwnd_, font_);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc.get(), &tm);
  line_height_ = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
  ave_width_ = std::max<int>(1, tm.tmAveCharWidth);
}

const std::vector<int>& EditorControl::Layout(HDC dc, std::size_t line) {
  std::size_t start = text_.LineStart(line);
  line_text_ = text_.Substr(start, text_.LineEnd(line));
  std::size_t n = line_text_.size();
  std::optional<CompositionGap> gap = Gap();
  bool gapped = gap && gap->line == line;
  layout_gap_from_ = gapped ? gap->at - start : TextBuffer::kNoPos;
  layout_gap_to_ = gapped ? gap->resume - start : TextBuffer::kNoPos;
  layout_.assign(n + 1, 0);
  int tab = ave_width_ * kTabColumns;
  int x = 0;
  for (std::size_t i = 0;;) {
    if (i == layout_gap_from_) {
      MeasureComposition(dc);
      composition_x_ = x;
      x += composition_xs_.back();
      for (; i < layout_gap_to_; ++i) layout_[i] = x;
    }
    if (i >= n) break;
    layout_[i] = x;
    if (line_text_[i] == '\t') {
      x = NextTabStop(x, tab);
      ++i;
      continue;
    }
    if (IsForeignAt(line_text_, i, chars_)) {
      x += ForeignWidth(dc, line_text_.data() + i);
      layout_[i + 1] = x;
      i += 2;
      continue;
    }
    std::size_t end = std::min(PlainRunEnd(line_text_, i, chars_), i < layout_gap_from_ ? layout_gap_from_ : n);
    int count = static_cast<int>(end - i);
    extents_.resize(end - i);
    SIZE size{};
    // Partial extents come per byte; both bytes of a double-byte character get its end.
    GetTextExtentExPointA(dc, line_text_.data() + i, count, 0, nullptr, extents_.data(), &size);
    for (std::size_t k = i + 1; k < end; ++k) layout_[k] = x + extents_[k - i - 1];
    x += size.cx;
    i = end;
  }
  layout_[n] = x;
  NoteWidth(x);
  return layout_;
}

// Only records the width: the scroll bar follows at the end of the paint or the move,
// never from inside a layout (setting it can send messages that lay out other lines).
// Grows in steps, as redrawing the bar for every typed character is slow.
void EditorControl::NoteWidth(int width) {
  if (width > widest_) widest_ = width + TextWidth() / 2;
}

int EditorControl::XOfPos(std::size_t pos) {
  MeasureDc dc(hwnd_, font_);
  std::size_t line = text_.LineOf(pos);
  return Layout(dc.get(), line)[pos - text_.LineStart(line)];
}

std::size_t EditorControl::PosAtX(HDC dc, std::size_t line, int x) {
  const std::vector<int>& xs = Layout(dc, line);
  std::size_t start = text_.LineStart(line);
  std::size_t end = text_.LineEnd(line);
  std::size_t pos = start;
  // The boundary nearest to x: step while x lies past the middle of the next character.
  while (pos < end) {
    std::size_t next = text_.NextChar(pos);
    if (x < (xs[pos - start] + xs[next - start]) / 2) break;
    pos = next;
  }
  return pos;
}

std::size_t EditorControl::PosFromPoint(POINT pt) {
  long row = pt.y >= 0 ? pt.y / line_height_ : -1 - (-pt.y - 1) / line_height_;
  long line = static_cast<long>(top_) + row;
  line = std::clamp<long>(line, 0, static_cast<long>(text_.LineCount()) - 1);
  MeasureDc dc(hwnd_, font_);
  return PosAtX(dc.get(), static_cast<std::size_t>(line), pt.x - kMargin + scroll_x_);
}

std::size_t EditorControl::VisibleLines() const {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  return static_cast<std::size_t>(std::max<long>(1, rc.bottom / line_height_));
}

// The widest line seen, with room to type past its end.
int EditorControl::ScrollWidth() const { return widest_ + TextWidth() / 4 + ave_width_; }

int EditorControl::TextWidth() const {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  return std::max<int>(1, rc.right - kMargin);
}

void EditorControl::ScrollTo(std::size_t top, int x) {
  std::size_t lines = text_.LineCount();
  std::size_t visible = VisibleLines();
  std::size_t max_top = lines > visible ? lines - visible : 0;
  top = std::min(top, max_top);
  x = std::clamp(x, 0, std::max(0, ScrollWidth() - TextWidth()));
  if (top == top_ && x == scroll_x_) return;
  long dy = (static_cast<long>(top_) - static_cast<long>(top)) * line_height_;
  int dx = scroll_x_ - x;
  top_ = top;
  scroll_x_ = x;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  if (std::labs(dy) < rc.bottom && std::abs(dx) < rc.right) {
    ScrollWindowEx(hwnd_, dx, static_cast<int>(dy), nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  } else {
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  UpdateScrollBars();
  PlaceCaret();
}

void EditorControl::ScrollBy(long lines, int pixels) {
  long top = std::max<long>(0, static_cast<long>(top_) + lines);
  ScrollTo(static_cast<std::size_t>(top), scroll_x_ + pixels);
}

EditorControl::CaretSpot EditorControl::CaretPlace() {
  std::optional<CompositionGap> gap = Gap();
  if (!gap) return {text_.LineOf(text_.caret()), XOfPos(text_.caret())};
  XOfPos(gap->at);  // lays the line out, with the composition
  return {gap->line, composition_x_ + composition_xs_[composition_.cursor]};
}

void EditorControl::ScrollCaretIntoView(bool with_context) {
  CaretSpot caret = CaretPlace();
  std::size_t line = caret.line;
  std::size_t visible = VisibleLines();
  std::size_t top = top_;
  bool off_screen = line < top || line >= top + visible;
  if (with_context && off_screen) {
    // A third of the way down, with what comes before and after it in view; the last
    // lines of the text fill the view rather than leave it half empty.
    std::size_t lines = text_.LineCount();
    top = std::min(line - std::min(line, visible / 3), lines > visible ? lines - visible : 0);
  } else if (line < top) {
    top = line;
  } else if (line >= top + visible) {
    top = line - visible + 1;
  }
  int x = caret.x;
  int width = TextWidth();
  int left = scroll_x_;
  // Jump a quarter of the width at a time so typing at the edge does not scroll per key.
  if (x < left) left = std::max(0, x - width / 4);
  if (x >= left + width - ave_width_) left = x - width + width / 4;
  ScrollTo(top, left);
  UpdateScrollBars();
  PlaceCaret();
}

void EditorControl::UpdateScrollBars() {
  SetBar(SB_VERT, {static_cast<int>(text_.LineCount()) - 1, static_cast<int>(VisibleLines()), static_cast<int>(top_)});
  SetBar(SB_HORZ, {ScrollWidth(), TextWidth(), scroll_x_});
}

// Sets a scroll bar only when it changes: each call repaints the bar at once.
void EditorControl::SetBar(int bar, const BarState& state) {
  BarState& shown = bar == SB_VERT ? vertical_bar_ : horizontal_bar_;
  if (shown.max == state.max && shown.page == state.page && shown.pos == state.pos) return;
  shown = state;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  si.nMax = state.max;
  si.nPage = static_cast<UINT>(state.page);
  si.nPos = state.pos;
  SetScrollInfo(hwnd_, bar, &si, TRUE);
}

void EditorControl::PlaceCaret() {
  if (GetFocus() != hwnd_) return;
  CaretSpot caret = CaretPlace();
  int y = (static_cast<int>(caret.line) - static_cast<int>(top_)) * line_height_;
  SetCaretPos(caret.x - scroll_x_ + kMargin, y);
}

void EditorControl::InvalidateLines(std::size_t first, std::size_t last) {
  std::size_t visible = VisibleLines() + 1;
  if (last < top_ || first >= top_ + visible) return;
  RECT rc;
  GetClientRect(hwnd_, &rc);
  if (first > top_) rc.top = static_cast<LONG>((first - top_) * line_height_);
  if (last != TextBuffer::kNoPos && last < top_ + visible) rc.bottom = static_cast<LONG>((last - top_ + 1) * line_height_);
  InvalidateRect(hwnd_, &rc, FALSE);
}

void EditorControl::OnScroll(int bar, WORD code) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, bar, &si);
  bool vertical = bar == SB_VERT;
  int line = vertical ? 1 : ave_width_;
  int page = vertical ? static_cast<int>(VisibleLines()) : TextWidth();
  int pos = si.nPos;
  switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
  }
  pos = std::max(0, pos);
  if (vertical) {
    ScrollTo(static_cast<std::size_t>(pos), scroll_x_);
  } else {
    ScrollTo(top_, pos);
  }
}

}  // namespace quillet
