#pragma once
// UTF-8 read and written strictly: no overlong forms, no surrogates, nothing past
// U+10FFFF. One place for the rules that finding a file's coding, reading it and writing
// it all follow.
#include <cstddef>

namespace quillet {

struct Utf8Char {
  char32_t c = 0;
  std::size_t length = 0;  // 0: the bytes at the place are no UTF-8 character
};

// The character whose bytes start at p (before end).
Utf8Char ReadUtf8(const unsigned char* p, const unsigned char* end);

// Writes c (below U+110000) at o; answers the place after its bytes.
char* WriteUtf8(char32_t c, char* o);

}  // namespace quillet
