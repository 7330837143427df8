#include "tex/log_scan.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "core/byte_scan.h"
#include "core/sjis.h"

namespace quillet {

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

std::vector<std::string_view> SplitLogLines(std::string_view bytes) {
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

LogScan ParseTeXLog(const std::vector<std::string_view>& lines) {
  LogScan scan;
  auto& window = scan.window_lines;
  std::size_t i = 0;
  while (i < lines.size()) {
    std::string_view line = lines[i];
    if (StartsWith(line, "! ")) {
      if (!scan.errors && lines.size() > 1) window.push_back(lines[1]);
      scan.errors = true;
      window.push_back(line);
      ++i;
    } else if (StartsWith(line, "l.")) {
      // The block ends before the prompt line, which the next round passes over; without
      // a prompt (non-interactive runs, a log cut short) it runs to the last line.
      do {
        window.push_back(lines[i++]);
      } while (i < lines.size() && !StartsWith(lines[i], "? "));
    } else {
      if (StartsWith(line, "No page")) window.push_back(line);
      ++i;
    }
  }
  return scan;
}

int JumpLineNumber(const std::vector<std::string_view>& window_lines) {
  if (window_lines.size() < 3) return 0;
  std::string_view line = window_lines[2];
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos || blank <= 2) return 0;
  std::string_view digits = line.substr(2, blank - 2);
  if (digits.front() < '0' || digits.front() > '9') return 0;  // no sign, no blank
  int number = 0;
  const char* end = digits.data() + digits.size();
  auto [stop, error] = std::from_chars(digits.data(), end, number);
  return error == std::errc() && stop == end ? number : 0;
}

}  // namespace quillet
