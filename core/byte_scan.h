#pragma once
// Fast scans over big texts.
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillet {

// True when one of the eight bytes of word equals c: texts are scanned a word at a time
// because the C library's byte searches are slow under Wine at 10 MB.
constexpr bool WordHasByte(std::uint64_t word, char c) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
  std::uint64_t v = word ^ (kOnes * static_cast<unsigned char>(c));
  return ((v - kOnes) & ~v & kHighs) != 0;
}

// True when the bytes hold a NUL (a sign of a file that is not text).
bool ContainsNul(std::string_view bytes);

// The first place at or after from that holds a or b; npos when there is none.
std::size_t FindEitherByte(std::string_view bytes, std::size_t from, char a, char b);

// Splits a text file's bytes into lines: a line ends at CR, LF or CR LF; a NUL ends the
// text. The views point into bytes.
std::vector<std::string_view> SplitTextLines(std::string_view bytes);

}  // namespace quillet
