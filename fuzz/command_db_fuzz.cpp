// command.db on any bytes: one entry per line but "%%" comments, up to a NUL; fields never
// hold a comma or a line break; a long name is cut on a character boundary to the limit
// and otherwise is the line's first field; kinds sort by their bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "aids/command_db.h"
#include "core/byte_scan.h"
#include "core/sjis.h"
#include "fuzz/fuzz_checks.h"

namespace {

using fuzz_checks::Require;

using namespace quillet;

bool IsField(std::string_view field) { return field.find_first_of(std::string_view(",\r\n\0", 4)) == std::string_view::npos; }

std::basic_string_view<unsigned char> Bytes(const std::string& s) {
  return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<CommandEntry> entries = ParseCommandDb(text);
  std::vector<std::string_view> lines;
  for (std::string_view line : SplitTextLines(text)) {
    if (!line.starts_with("%%")) lines.push_back(line);
  }
  Require(entries.size() == lines.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const CommandEntry& e = entries[i];
    std::string_view line = lines[i];
    Require(IsField(e.name) && IsField(e.field2) && IsField(e.kind) && IsField(e.description));
    std::string_view first = line.substr(0, line.find(','));
    Require(e.name.size() <= kCommandNameLimit && first.starts_with(e.name));
    Require(e.name.size() == first.size() || (e.name.size() == CutToBytes(first, kCommandNameLimit).size()));
    // The fields, joined again, begin the line.
    std::string joined = e.name.size() == first.size() ? e.name : std::string(first);
    for (const std::string* field : {&e.field2, &e.kind, &e.description}) {
      if (joined.size() < line.size()) joined += "," + *field;
    }
    Require(line.starts_with(joined));
    if (i > 0) {
      const CommandEntry& before = entries[i - 1];
      Require(KindBefore(before, e) == (Bytes(before.kind) < Bytes(e.kind)));
      Require(!(KindBefore(before, e) && KindBefore(e, before)));
    }
  }
  return 0;
}
