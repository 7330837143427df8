// Fixed-macro files on any bytes. The folder of a setting ends in one "\" character and
// stays as it is once it does; the header test is the header's bytes; a macro's title is
// its second line without the "%", its body every later line ending in CR LF (a text
// over the limit would give only the lines whose break lies within it: too slow to build
// here, the unit test has it). A macro written out again parses to itself.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "aids/macro_files.h"
#include "core/sjis.h"
#include "fuzz/fuzz_checks.h"

namespace {

using fuzz_checks::Require;

using namespace quillet;

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
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

  Macro macro = ParseMacro(input);
  std::vector<std::string_view> lines = Lines(input);
  std::string title = lines.size() > 1 && lines[1].starts_with("%") ? std::string(lines[1].substr(1)) : kUntitledMacro;
  std::string body;
  for (std::size_t i = 2; i < lines.size(); ++i) body.append(lines[i]).append("\r\n");
  Require(macro.title == title && macro.body == body);

  // Written out as a macro file, it reads back the same.
  if (macro.title.find_first_of("\r\n") == std::string::npos && input.size() < kMacroLimit / 2) {
    Macro again = ParseMacro(std::string(kMacroHeader) + "\r\n%" + macro.title + "\r\n" + macro.body);
    Require(again.title == macro.title && again.body == macro.body);
  }
  return 0;
}
