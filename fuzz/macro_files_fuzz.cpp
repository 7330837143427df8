// Fixed-macro files on any bytes. The folder of a setting ends in one "\" character and
// stays as it is once it does; the header test is the header's bytes; a macro's title is
// its second line without the "%", its body every later line ending in CR LF, and a text
// over the limit gives only the lines whose break lies within it. A macro written out
// again parses to itself. An input that starts with 0xFF is repeated past the limit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "aids/macro_files.h"
#include "core/sjis.h"

namespace {

using namespace quillet;

// Ends the run at a broken rule, naming the check's line.
void Require(bool holds, int line = __builtin_LINE()) {
  if (holds) return;
  std::fprintf(stderr, "broken rule at line %d\n", line);
  std::abort();
}

struct Line {
  std::string_view text;
  std::size_t break_at;  // where the line's break begins; the text's size when it has none
};

std::vector<Line> Lines(std::string_view text) {
  std::vector<Line> lines;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back({text.substr(begin, end - begin), end});
    begin = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
  }
  return lines;
}

bool EndsInLoneLeadByte(std::string_view text) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) last = i;
  return !text.empty() && last + 1 == text.size() && IsLeadByte(text.back());
}

void CheckFolder(std::string_view setting) {
  // A lead byte cut off at the end takes the "\" after it as its trail byte; no folder
  // is named so.
  if (EndsInLoneLeadByte(setting)) return;
  std::string folder = MacroFolder(setting);
  Require(folder.starts_with(setting) && folder.size() <= setting.size() + 1);
  Require(ExtractFilePath(folder) == folder && folder.back() == '\\');
  Require(MacroFolder(folder) == folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckFolder(input.substr(0, input.find_first_of("\r\n")));
  Require(IsMacroFile(input) == input.starts_with(kMacroHeader));

  std::string text(input);
  if (!input.empty() && data[0] == 0xFF) {
    while (text.size() <= kMacroLimit) text += input.substr(1).empty() ? std::string_view("\r\n") : input.substr(1);
  }
  Macro macro = ParseMacro(text);
  std::vector<Line> lines = Lines(text);
  // Lines count when their break begins within the limit (or the text is within it).
  std::size_t kept = 0;
  while (kept < lines.size() && (text.size() <= kMacroLimit || lines[kept].break_at < kMacroLimit)) ++kept;
  std::string title = kept > 1 && lines[1].text.starts_with("%") ? std::string(lines[1].text.substr(1)) : kUntitledMacro;
  std::string body;
  for (std::size_t i = 2; i < kept; ++i) body.append(lines[i].text).append("\r\n");
  Require(macro.title == title && macro.body == body);

  // Written out as a macro file, it reads back the same.
  if (macro.title.find_first_of("\r\n") == std::string::npos && macro.body.size() < kMacroLimit / 2) {
    Macro again = ParseMacro(std::string(kMacroHeader) + "\r\n%" + macro.title + "\r\n" + macro.body);
    Require(again.title == macro.title && again.body == macro.body);
  }
  return 0;
}
