#include "aids/command_db.h"

#include "core/byte_scan.h"
#include "core/sjis.h"

namespace quillet {

std::vector<CommandEntry> ParseCommandDb(std::string_view text) {
  std::vector<CommandEntry> entries;
  for (std::string_view line : SplitTextLines(text)) {
    if (StartsWith(line, "%%")) continue;
    std::string name = GetField(line, ',', 1);
    if (name.size() > kCommandNameLimit) name.resize(CutToBytes(name, kCommandNameLimit).size());
    entries.push_back({std::move(name), GetField(line, ',', 2), GetField(line, ',', 3), GetField(line, ',', 4)});
  }
  return entries;
}

bool KindBefore(const CommandEntry& a, const CommandEntry& b) { return a.kind < b.kind; }

int FindCommandStartingWith(const std::vector<CommandEntry>& entries, std::string_view typed, std::size_t start) {
  if (typed.empty() || entries.empty()) return -1;
  for (std::size_t n = 0; n < entries.size(); ++n) {
    std::size_t i = (start + n) % entries.size();
    const std::string& name = entries[i].name;
    if (name.size() >= typed.size() && SameIgnoringAsciiCase(std::string_view(name).substr(0, typed.size()), typed)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

namespace {
// The end of the group that opens at form[at] ("{" or "["), past its closing character,
// nested groups included; Shift-JIS trail bytes are never taken for brackets.
std::size_t GroupEnd(std::string_view form, std::size_t at) {
  int depth = 0;
  for (std::size_t i = at; i < form.size(); ++i) {
    if (IsLeadByte(form[i])) {
      ++i;
      continue;
    }
    if (form[i] == '{' || form[i] == '[') ++depth;
    if ((form[i] == '}' || form[i] == ']') && --depth == 0) return i + 1;
  }
  return form.size();
}
}  // namespace

CommandInsertion WithArguments(const CommandEntry& entry) {
  CommandInsertion insertion{std::string("\\").append(entry.name)};
  std::string_view form = entry.field2;
  for (std::size_t i = 0; i < form.size();) {
    if (form[i] != '{' && form[i] != '[') {
      i += IsLeadByte(form[i]) ? 2 : 1;
      continue;
    }
    std::size_t end = GroupEnd(form, i);
    if (form[i] == '{') {
      if (insertion.placeholder == 0 && end - i > 2) {
        insertion.placeholder = insertion.text.size() + 1;
        insertion.placeholder_length = end - i - 2;
      }
      insertion.text.append(form.substr(i, end - i));
    }
    i = end;
  }
  return insertion;
}

}  // namespace quillet
