#pragma once
// A document's own characters (core/foreign_chars.h) inside the editor's Shift-JIS text:
// where a line splits into runs the font draws from their bytes and characters drawn from
// their Unicode character, and the Shift-JIS text other programs are given.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/foreign_chars.h"

namespace quillet {

// True when the character that starts at text[i] has a code of the table.
inline bool IsForeignAt(std::string_view text, std::size_t i, const ForeignChars& chars) {
  return i + 1 < text.size() && chars.CharOf(static_cast<unsigned char>(text[i]), static_cast<unsigned char>(text[i + 1])) != 0;
}

// The end of the run of plain text that starts at the character start from: the next tab,
// the next character of the table, or the end of the text.
std::size_t PlainRunEnd(std::string_view text, std::size_t from, const ForeignChars& chars);

// The text with each character of the table as "?": its code means nothing to another
// program or another document.
std::string ShiftJisForOthers(std::string_view text, const ForeignChars& chars);

}  // namespace quillet
