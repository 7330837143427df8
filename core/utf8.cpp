#include "core/utf8.h"

namespace quillet {

Utf8Char ReadUtf8(const unsigned char* p, const unsigned char* end) {
  unsigned char c = *p;
  std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
  if (c < 0xC2 || c > 0xF4 || static_cast<std::size_t>(end - p) < length) return {};
  // The second byte's range rules out overlong forms, surrogates and code points past
  // U+10FFFF; the others are plain continuation bytes.
  unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
  unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
  if (p[1] < low || p[1] > high) return {};
  char32_t value = c & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (std::size_t k = 1; k < length; ++k) {
    if ((p[k] & 0xC0) != 0x80) return {};
    value = value << 6 | (p[k] & 0x3F);
  }
  return {value, length};
}

char* WriteUtf8(char32_t c, char* o) {
  if (c < 0x80) {
    *o++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *o++ = static_cast<char>(0xC0 | c >> 6);
    *o++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *o++ = static_cast<char>(0xE0 | c >> 12);
    *o++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    *o++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *o++ = static_cast<char>(0xF0 | c >> 18);
    *o++ = static_cast<char>(0x80 | (c >> 12 & 0x3F));
    *o++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    *o++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return o;
}

}  // namespace quillet
