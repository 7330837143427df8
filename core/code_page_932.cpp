#include "core/code_page_932.h"

#include "core/sjis.h"
#include "core/utf8.h"

namespace quillet {

namespace {
bool IsPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }
}  // namespace

CodePage932::CodePage932(const std::function<char32_t(std::uint16_t)>& decode,
                         const std::function<std::uint16_t(char32_t)>& preferred)
    : to_char_(0x10000, 0), to_code_(0x10000, kNoCode) {
  std::vector<char32_t> shared;  // characters more than one code decodes to
  auto take = [&](std::uint16_t code) {
    char32_t c = decode(code);
    to_char_[code] = c;
    if (c == 0 || c >= 0x10000 || IsPrivateUse(c)) return;
    if (to_code_[c] == kNoCode) {
      to_code_[c] = code;
    } else {
      shared.push_back(c);
    }
  };
  for (unsigned b = 0; b < 0x100; ++b) {
    if (!IsLeadByte(static_cast<unsigned char>(b))) take(static_cast<std::uint16_t>(b));
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail != 0x7F) take(static_cast<std::uint16_t>(lead << 8 | trail));
    }
  }
  // Of several codes, the one the platform itself writes for the character.
  for (char32_t c : shared) {
    std::uint16_t code = preferred(c);
    if (code != kNoCode && to_char_[code] == c) to_code_[c] = code;
  }
  to_utf8_.assign(0x10000, 0);
  for (std::size_t code = 0; code < 0x10000; ++code) {
    char32_t c = to_char_[code];
    if (c == 0 || c >= 0x10000) continue;
    char bytes[4] = {};
    auto length = static_cast<std::uint32_t>(WriteUtf8(c, bytes) - bytes);
    std::uint32_t packed = length << 24;
    for (std::uint32_t k = 0; k < length; ++k) packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])) << 8 * k;
    to_utf8_[code] = packed;
  }
}

}  // namespace quillet
