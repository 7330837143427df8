#pragma once
// Reading the TeX engine's log: its lines, the lines the error window shows, and the
// source line the error ending jumps to.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// What the error window shows for a log, read straight from its bytes.
struct LogWindow {
  std::string text;            // the window's lines, the log's own bytes, joined by CR LF
  std::size_t line_count = 0;  // lines in text (an empty text may hold one empty line)
  bool errors = false;         // as LogScan::errors
  int jump_line = 0;           // as JumpLineNumber of the window's lines
};

// The window of ParseTeXLog(SplitTextLines(log_bytes)) without a list of the log's lines:
// an engine that loops writing empty lines makes logs of tens of millions of them. What
// it holds besides the log is the window's text, made at its exact size.
LogWindow ScanTeXLog(std::string_view log_bytes);

struct LogScan {
  std::vector<std::string_view> window_lines;  // what the error window shows, in order
  bool errors = false;                         // a "! " line was met outside a context block
};

// The error window's lines: each "! " line (the log's second line once in front of the
// first), each "l." context line with the lines after it up to the engine's "? " prompt
// (or the end of the log), and each "No page" line. Lines inside a context block are
// taken as part of it, whatever they begin with.
LogScan ParseTeXLog(const std::vector<std::string_view>& lines);

// The number the error ending selects: from the third window line (index 2), the bytes
// from its third byte up to its first blank read as a decimal number; 0 when there is no
// such line, no blank, or no number.
int JumpLineNumber(const std::vector<std::string_view>& window_lines);

}  // namespace quillet
