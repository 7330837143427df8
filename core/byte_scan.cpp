#include "core/byte_scan.h"

#include <cstdint>
#include <cstring>

namespace quillet {

bool ContainsNul(std::string_view bytes) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    if (WordHasByte(word, '\0')) return true;
  }
  for (; i < bytes.size(); ++i) {
    if (bytes[i] == '\0') return true;
  }
  return false;
}

std::size_t FindEitherByte(std::string_view bytes, std::size_t from, char a, char b) {
  std::size_t i = from;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    if (WordHasByte(word, a) || WordHasByte(word, b)) break;
  }
  for (; i < bytes.size(); ++i) {
    if (bytes[i] == a || bytes[i] == b) return i;
  }
  return std::string_view::npos;
}

}  // namespace quillet
