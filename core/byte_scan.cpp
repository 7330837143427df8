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

namespace {

bool EndsLine(char c) { return c == '\n' || c == '\r' || c == '\0'; }

// Position of the first CR, LF or NUL at or after from (bytes.size() when none). Logs run
// to tens of megabytes, so words without any of the three are skipped eight bytes at a time.
std::size_t FindLineEnd(std::string_view bytes, std::size_t from) {
  const char* p = bytes.data();
  std::size_t n = bytes.size(), i = from;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (WordHasByte(word, '\n') || WordHasByte(word, '\r') || WordHasByte(word, '\0')) break;
  }
  while (i < n && !EndsLine(p[i])) ++i;
  return i;
}

}  // namespace

std::vector<std::string_view> SplitTextLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  while (begin < bytes.size()) {
    std::size_t end = FindLineEnd(bytes, begin);
    bool last = end == bytes.size() || bytes[end] == '\0';
    if (!last || end > begin) lines.push_back(bytes.substr(begin, end - begin));
    if (last) break;
    bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    begin = end + (crlf ? 2 : 1);
  }
  return lines;
}

}  // namespace quillet
