#pragma once
// The error window's rules read the plain way, over a list of the log's lines: what the
// program's one-pass scan of the log's bytes must agree with.
// - each "! " line is shown, the log's second line once in front of the first;
// - each "l." line is shown with the lines after it up to the engine's "? " prompt (or
//   the end of the log), whatever they begin with;
// - each "No page" line is shown;
// - the line to select is read from the third shown line: its bytes from the third up to
//   its first blank as a decimal number, else 0.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace log_model {

struct LogScan {
  std::vector<std::string_view> window_lines;
  bool errors = false;
};

inline bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

inline LogScan ParseTeXLog(const std::vector<std::string_view>& lines) {
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

inline int JumpLineNumber(const std::vector<std::string_view>& window_lines) {
  if (window_lines.size() < 3) return 0;
  std::string_view line = window_lines[2];
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos || blank <= 2) return 0;
  long long number = 0;
  for (char c : line.substr(2, blank - 2)) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
    if (number > 0x7FFFFFFF) return 0;
  }
  return static_cast<int>(number);
}

}  // namespace log_model
