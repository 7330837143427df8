#pragma once
// Layout of help text: line breaking of Shift-JIS text to a pixel width with the
// Japanese line-break rules, and the placement of a pop-up beside the mouse.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Width in pixels of one character (one or two bytes of Shift-JIS).
using CharWidth = std::function<int(std::string_view)>;

// Breaks text into lines no wider than max_width. Hard breaks (LF or CR LF) are kept,
// an empty line included. A line may break between two Japanese characters and after a
// blank, never inside an ASCII word unless the word alone is too wide; closing
// punctuation and small kana never begin a line, opening brackets never end one.
// Blanks at a soft break are dropped; so are the blanks that begin a line of the text
// when what follows them does not fit beside them. Only an empty or blank line of the
// text gives an empty line.
std::vector<std::string> WrapText(std::string_view text, int max_width, const CharWidth& width);

// Width of a line in pixels.
int TextWidth(std::string_view text, const CharWidth& width);

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct PixelPoint {
  int x = 0, y = 0;
};

// Top-left corner for a pop-up of the given size: centred under the mouse cursor,
// above it when there is no room below, and always inside the work area.
PixelPoint PlacePopup(PixelPoint cursor, int width, int height, const PixelRect& work_area);

}  // namespace quillet
