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

}  // namespace quillet
