// Help text layout at any width with any character widths. For each line of the text the
// wrapped lines are pieces of it in order with only blanks between them, cut on character
// boundaries; none is wider than the width unless it is a single character; none ends in
// a blank, and only the first may begin with one; none is empty unless the text's line is
// blank. A pop-up that fits in the work area is placed inside it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/sjis.h"
#include "fuzz/fuzz_checks.h"
#include "help/help_layout.h"

namespace {

using fuzz_checks::Require;

using namespace quillet;

std::string_view LastChar(std::string_view text) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) last = i;
  return text.substr(last);
}

// The wrapped lines of one line of the text (no LF in it, its CR dropped).
void CheckLine(std::string_view text, const std::vector<std::string>& wrapped, int max_width, const CharWidth& width) {
  std::vector<bool> boundary(text.size() + 1, false);
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) boundary[i] = true;
  boundary[text.size()] = true;
  bool blank = text.find_first_not_of(' ') == std::string_view::npos;
  Require(!wrapped.empty());
  if (blank) Require(wrapped.size() == 1 && wrapped[0].empty());
  std::size_t at = 0;
  for (std::size_t n = 0; n < wrapped.size() && !blank; ++n) {
    const std::string& line = wrapped[n];
    Require(!line.empty() && LastChar(line) != " ");
    Require(n == 0 || line.front() != ' ');
    while (at < text.size() && text[at] == ' ' && text.compare(at, line.size(), line) != 0) ++at;
    Require(text.compare(at, line.size(), line) == 0);
    Require(line.front() != ' ' || at == 0);  // an indent stays whole or goes whole
    Require(boundary[at] && boundary[at + line.size()]);
    Require(TextWidth(line, width) <= max_width || CharLength(line, 0) == line.size());
    at += line.size();
  }
  if (!blank) Require(text.find_first_not_of(' ', at) == std::string_view::npos);
}

}  // namespace

// The first six bytes: the width (16 bits, signed), then the widths of a blank, another
// ASCII character, a double-byte character and any other single byte; the rest is text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  int max_width = static_cast<std::int16_t>(data[0] | data[1] << 8);
  int blank = data[2], ascii = data[3], wide = data[4], other = data[5];
  CharWidth width = [&](std::string_view ch) {
    if (ch.size() == 2) return wide;
    unsigned char c = static_cast<unsigned char>(ch[0]);
    return c == ' ' ? blank : c < 0x80 ? ascii : other;
  };
  std::string_view text(reinterpret_cast<const char*>(data + 6), size - 6);

  std::vector<std::string> all = WrapText(text, max_width, width);
  std::size_t next = 0;
  for (std::string_view rest = text;;) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    std::vector<std::string> wrapped = WrapText(line, max_width, width);  // alone, with its CR
    if (line.ends_with('\r')) line.remove_suffix(1);
    CheckLine(line, wrapped, max_width, width);
    for (const std::string& piece : wrapped) Require(next < all.size() && all[next++] == piece);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  Require(next == all.size());

  PixelRect area{-data[2], -data[3], data[4] * 8, data[5] * 8};
  int w = max_width < 0 ? -max_width : max_width, h = blank * 4;
  PixelPoint at = PlacePopup({ascii * 8 - 300, other * 8 - 300}, w, h, area);
  if (w <= area.right - area.left && h <= area.bottom - area.top) {
    Require(at.x >= area.left && at.x + w <= area.right && at.y >= area.top && at.y + h <= area.bottom);
  }
  return 0;
}
