#include "core/byte_scan.h"

#include <cstdint>
#include <cstring>

namespace quillet {

bool ContainsNul(std::string_view bytes) {
  // Eight bytes at a time: a word has a zero byte exactly when this expression is non-zero.
  constexpr std::uint64_t kLow = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    if ((word - kLow) & ~word & kHigh) return true;
  }
  for (; i < bytes.size(); ++i) {
    if (bytes[i] == '\0') return true;
  }
  return false;
}

}  // namespace quillet
