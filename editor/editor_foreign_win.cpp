// A document's own characters: the table, and their glyphs measured and drawn from their
// Unicode characters with the editor's font (the platform's font linking finds a glyph the
// font lacks).
#include <utility>

#include "core/unicode_text.h"
#include "editor/editor_control_win.h"
#include "win/code_page_win.h"

namespace quillet {

void EditorControl::SetForeignChars(ForeignChars* chars, bool grow) {
  chars_grow_ = grow;
  if (!chars) return;
  chars_ = std::move(*chars);
  widest_ = 0;
  if (!redraw_) return;  // turning redraw on lays out and paints everything again
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, FALSE);
  PlaceCaret();
}

std::u16string EditorControl::ForeignText(const char* code) const {
  return Utf16FromEditorText({code, 2}, SystemCodePage(), &chars_);
}

int EditorControl::ForeignWidth(HDC dc, const char* code) const {
  std::u16string text = ForeignText(code);
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &size);
  return size.cx;
}

void EditorControl::DrawForeign(HDC dc, int x, int y, const char* code) const {
  std::u16string text = ForeignText(code);
  TextOutW(dc, x, y, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()));
}

}  // namespace quillet
