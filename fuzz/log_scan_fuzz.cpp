// Engine logs of any bytes: the log's lines lie inside it; the window read straight from
// the bytes is the window of the list of lines joined by CR LF, each of its lines one of
// the log's in the log's order (the second line once in front); the result and the line
// to select agree, and that line's number is written in the log.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/byte_scan.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/log_model.h"
#include "tex/log_scan.h"

namespace {

using fuzz_checks::Require;

bool Inside(std::string_view text, std::string_view part) {
  return part.data() >= text.data() && part.data() + part.size() <= text.data() + text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillet;
  std::string_view log(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> lines = SplitTextLines(log);
  std::unordered_map<const char*, std::size_t> index;  // a line's start to its number
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Require(Inside(log, lines[i]));
    Require(lines[i].find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
    index.emplace(lines[i].data(), i);
  }

  log_model::LogScan scan = log_model::ParseTeXLog(lines);
  bool any_error_line = false;
  for (std::string_view line : lines) any_error_line |= log_model::StartsWith(line, "! ");
  Require(!scan.errors || any_error_line);
  std::size_t previous = 0;
  bool any_before = false;
  for (std::size_t i = 0; i < scan.window_lines.size(); ++i) {
    std::string_view line = scan.window_lines[i];
    auto at = index.find(line.data());
    Require(at != index.end() && lines[at->second] == line);
    bool second_in_front = at->second == 1 && i + 1 < scan.window_lines.size() &&
                           log_model::StartsWith(scan.window_lines[i + 1], "! ");
    if (!second_in_front) {
      Require(!any_before || at->second > previous);
      previous = at->second;
      any_before = true;
    }
  }

  LogWindow window = ScanTeXLog(log);
  std::string joined;
  for (std::size_t i = 0; i < scan.window_lines.size(); ++i) {
    if (i) joined += "\r\n";
    joined += scan.window_lines[i];
  }
  Require(window.text == joined);
  Require(window.line_count == scan.window_lines.size());
  Require(window.errors == scan.errors);
  Require(window.jump_line == log_model::JumpLineNumber(scan.window_lines));
  if (window.jump_line != 0) {
    Require(window.jump_line > 0 && scan.window_lines.size() >= 3);
    Require(scan.window_lines[2].find(std::to_string(window.jump_line)) != std::string_view::npos);
  }
  // Each log byte gives at most two of the window's (a lone break becomes CR LF), and the
  // second line is the only one shown twice.
  std::size_t second = lines.size() > 1 ? lines[1].size() + 2 : 0;
  Require(window.text.size() <= 2 * size + second);
  return 0;
}
