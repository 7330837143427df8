#pragma once
// Code page 932 (Shift-JIS as Windows has it) and Unicode, both ways, kept only where
// converting back gives the same code: no best-fit mapping. A character that converts to
// a code whose code converts to something else (U+301C WAVE DASH, U+2016, U+2212, U+00A2,
// U+00A3, U+00AC, U+2014 and the like, which files made on Linux or a Mac hold) has no
// code here, and neither has any character of the private-use area: the user-defined
// area's codes (0xF040-0xF9FC) are never produced from Unicode, so a document can use
// them for characters of its own (core/foreign_chars.h).
#include <cstdint>
#include <functional>
#include <vector>

namespace quillet {

// A code: a single byte (below 0x100) or lead << 8 | trail.
inline constexpr std::uint16_t kNoCode = 0xFFFF;

class CodePage932 {
 public:
  // decode: the character of a code, 0 when the code has none. preferred: the code the
  // platform gives a character (asked only of characters that several codes decode to),
  // kNoCode when none.
  CodePage932(const std::function<char32_t(std::uint16_t)>& decode,
              const std::function<std::uint16_t(char32_t)>& preferred);

  // 0 when the code is no character.
  char32_t CharOf(std::uint16_t code) const { return to_char_[code]; }
  // kNoCode when the character has no exact code.
  std::uint16_t CodeOf(char32_t c) const { return c < to_code_.size() ? to_code_[c] : kNoCode; }
  // The code's character in UTF-8, packed for a fast save: its bytes from the lowest,
  // their number in the top byte (0 when the code is no character).
  std::uint32_t Utf8Of(std::uint16_t code) const { return to_utf8_[code]; }
  // The tables themselves, indexed by character below U+10000 and by code, for loops
  // that write through char pointers (which keep a compiler from holding the tables'
  // places in registers).
  const std::uint16_t* CodeTable() const { return to_code_.data(); }
  const std::uint32_t* Utf8Table() const { return to_utf8_.data(); }

 private:
  std::vector<char32_t> to_char_;
  std::vector<std::uint16_t> to_code_;
  std::vector<std::uint32_t> to_utf8_;
};

}  // namespace quillet
