// Page layout for printing (EM_FORMATRANGE): the editor's font scaled to the printer,
// long lines wrapped at the page width, tabs every 8 columns.
#include <algorithm>

#include "editor/editor_control_win.h"
#include "editor/foreign_text.h"

namespace quillet {

namespace {

int TwipsToDevice(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

}  // namespace

LRESULT EditorControl::FormatRange(bool render, const FORMATRANGE* range) {
  if (!range) {
    print_font_.reset();
    print_font_source_ = nullptr;
    return 0;
  }
  HDC dc = range->hdc;
  int dpi_x = GetDeviceCaps(dc, LOGPIXELSX), dpi_y = GetDeviceCaps(dc, LOGPIXELSY);
  if (!print_font_ || print_font_source_ != font_ || print_dpi_ != dpi_y) {
    LOGFONTA font{};
    GetObjectA(font_, sizeof font, &font);
    WindowDc screen(nullptr);
    int screen_dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    font.lfHeight = MulDiv(font.lfHeight, dpi_y, screen_dpi);
    font.lfWidth = MulDiv(font.lfWidth, dpi_y, screen_dpi);
    print_font_.reset(CreateFontIndirectA(&font));
    print_font_source_ = font_;
    print_dpi_ = dpi_y;
  }
  SelectIn keep_font(dc, print_font_.get());
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  int height = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
  int tab = std::max<int>(1, tm.tmAveCharWidth) * kTabColumns;
  int left = TwipsToDevice(range->rc.left, dpi_x), top = TwipsToDevice(range->rc.top, dpi_y);
  int width = std::max(1, TwipsToDevice(range->rc.right, dpi_x) - left);
  int bottom = TwipsToDevice(range->rc.bottom, dpi_y);
  std::size_t end = range->chrg.cpMax < 0 ? text_.size() : std::min<std::size_t>(range->chrg.cpMax, text_.size());
  std::size_t pos = text_.SnapBack(static_cast<std::size_t>(std::max<LONG>(0, range->chrg.cpMin)));
  if (render) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
  }
  // Rows go on while they fit; the first row of a page goes on in any case, so every
  // call makes progress.
  for (int y = top; pos < end && (y == top || y + height <= bottom); y += height) {
    std::size_t line_end = std::min(text_.LineEnd(text_.LineOf(pos)), end);
    std::size_t row_end = WrapRow(dc, pos, line_end, width, tab);
    if (render) PrintRow(dc, pos, row_end, left, y, tab);
    pos = row_end;
    if (pos == line_end && text_.IsBreakAt(pos) && pos < end) pos += 2;
  }
  return static_cast<LRESULT>(pos);
}

// The end of the row that starts at pos: as many whole characters as fit in width.
std::size_t EditorControl::WrapRow(HDC dc, std::size_t pos, std::size_t limit, int width, int tab) {
  int x = 0;
  std::size_t start = pos;
  while (pos < limit) {
    if (text_[pos] == '\t') {
      int next = NextTabStop(x, tab);
      if (next > width && pos > start) break;
      x = next;
      ++pos;
      continue;
    }
    std::string code = text_.Substr(pos, std::min(limit, pos + 2));
    if (IsForeignAt(code, 0, chars_)) {  // a document's own character: its glyph's width
      int next = x + ForeignWidth(dc, code.data());
      if (next > width && pos > start) break;
      x = next;
      pos += 2;
      continue;
    }
    // A character is at least a pixel wide, so a row never holds more than 2 * width bytes.
    std::size_t chunk_end = std::min(limit, pos + 2 * static_cast<std::size_t>(width) + 2);
    std::string chunk = text_.Substr(pos, chunk_end);
    chunk.resize(PlainRunEnd(chunk, 0, chars_));
    int fit = 0;
    SIZE size{};
    GetTextExtentExPointA(dc, chunk.data(), static_cast<int>(chunk.size()), std::max(0, width - x), &fit, nullptr, &size);
    std::size_t fitted = text_.SnapBack(pos + static_cast<std::size_t>(std::max(0, fit)));
    if (fitted < pos + chunk.size()) {
      // The row is full: end it here, keeping at least one character.
      return fitted > start ? fitted : text_.NextChar(start);
    }
    SIZE piece{};
    GetTextExtentPoint32A(dc, chunk.data(), static_cast<int>(chunk.size()), &piece);
    x += piece.cx;
    pos = fitted;
  }
  return pos;
}

void EditorControl::PrintRow(HDC dc, std::size_t pos, std::size_t end, int x, int y, int tab) {
  std::string row = text_.Substr(pos, end);
  int offset = 0;
  for (std::size_t i = 0; i < row.size();) {
    if (row[i] == '\t') {
      offset = NextTabStop(offset, tab);
      ++i;
      continue;
    }
    if (IsForeignAt(row, i, chars_)) {
      DrawForeign(dc, x + offset, y, row.data() + i);
      offset += ForeignWidth(dc, row.data() + i);
      i += 2;
      continue;
    }
    std::size_t piece_end = PlainRunEnd(row, i, chars_);
    int n = static_cast<int>(piece_end - i);
    TextOutA(dc, x + offset, y, row.data() + i, n);
    SIZE size{};
    GetTextExtentPoint32A(dc, row.data() + i, n, &size);
    offset += size.cx;
    i = piece_end;
  }
}

}  // namespace quillet
