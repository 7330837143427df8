#include "aids/macro_files.h"

#include <vector>

#include "core/sjis.h"

namespace quillet {

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(begin));
      break;
    }
    lines.push_back(text.substr(begin, end - begin));
    begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace

std::string MacroFolder(std::string_view setting) {
  std::size_t last = 0;  // the start of the last character
  for (std::size_t i = 0; i < setting.size(); i += CharLength(setting, i)) last = i;
  bool ends_in_backslash = !setting.empty() && last == setting.size() - 1 && setting.back() == '\\';
  return std::string(setting) + (ends_in_backslash ? "" : "\\");
}

bool IsMacroFile(std::string_view first_bytes) { return StartsWith(first_bytes, kMacroHeader); }

Macro ParseMacro(std::string_view file_text) {
  if (file_text.size() > kMacroLimit) {
    file_text = file_text.substr(0, kMacroLimit);
    std::size_t last_break = file_text.find_last_of("\r\n");
    file_text = last_break == std::string_view::npos ? std::string_view() : file_text.substr(0, last_break + 1);
  }
  std::vector<std::string_view> lines = Lines(file_text);
  Macro macro{kUntitledMacro, ""};
  if (lines.size() > 1 && StartsWith(lines[1], "%")) macro.title = std::string(lines[1].substr(1));
  for (std::size_t i = 2; i < lines.size(); ++i) {
    macro.body += lines[i];
    macro.body += "\r\n";
  }
  return macro;
}

}  // namespace quillet
