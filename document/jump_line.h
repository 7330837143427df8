#pragma once
// The rules of the jump to a line: the highest line it offers and how the typed number
// is read.
#include <string>
#include <string_view>

namespace quillet {

// The highest line number offered: the editor's line count, less the empty line after a
// final break, plus one. An empty text offers 1.
int HighestJumpLine(long editor_line_count, bool last_line_empty);

// "移動先(1～" + highest + ")"
std::string JumpRangeText(int highest);

// The typed number: blanks first, then one "+" or "-", then decimal digits, or "$" and
// hexadecimal digits. Text that does not read whole as a number, or a number beyond the
// integer range, is 0.
int ReadLineNumber(std::string_view text);

inline constexpr const char* kLineOutOfRange = "指定した行数が範囲外です。";

}  // namespace quillet
