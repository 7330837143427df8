#include "tex/log_scan.h"

#include <charconv>

#include "core/sjis.h"

namespace quillet {

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
