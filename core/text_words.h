#pragma once
// Words for Ctrl+Left/Right and double-click: runs of characters of one class.
#include <cstddef>
#include <utility>

#include "core/text_buffer.h"

namespace quillet {

enum class CharClass { kBlank, kAlnum, kKana, kKanji, kSymbol, kBreak };

// Class of the character that starts at pos (kBreak at the end of the text too).
CharClass ClassAt(const TextBuffer& text, std::size_t pos);

// Ctrl+Right: past the rest of the word (or the break) at pos and the blanks after it.
std::size_t NextWordStart(const TextBuffer& text, std::size_t pos);
// Ctrl+Left: back over blanks, then to the start of the word (or break) before.
std::size_t PrevWordStart(const TextBuffer& text, std::size_t pos);
// The run of one class round pos, for a double-click (the character after pos, or the
// one before it at the end of a line). Empty on a break.
std::pair<std::size_t, std::size_t> WordAround(const TextBuffer& text, std::size_t pos);

}  // namespace quillet
