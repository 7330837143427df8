#include "document/jump_line.h"

#include <charconv>
#include <limits>

namespace quillet {

int HighestJumpLine(long editor_line_count, bool last_line_empty) {
  return static_cast<int>(editor_line_count - (last_line_empty ? 1 : 0) + 1);
}

std::string JumpRangeText(int highest) { return "移動先(1～" + std::to_string(highest) + ")"; }

int ReadLineNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  }
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  if (first == last || *first == '+' || *first == '-') return 0;
  long long value = 0;
  auto [end, error] = std::from_chars(first, last, value, base);
  if (error != std::errc() || end != last) return 0;
  if (negative) value = -value;
  bool fits = value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
  return fits ? static_cast<int>(value) : 0;
}

}  // namespace quillet
