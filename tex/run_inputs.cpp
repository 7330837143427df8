#include "tex/run_inputs.h"

#include <algorithm>

#include "core/dos_time.h"
#include "core/sjis.h"

namespace quillet {

namespace {
// "C:\..." or "C:..." (a drive), "\\server\..." or "\..." (a root).
bool IsFullName(std::string_view name) {
  return (name.size() >= 2 && name[1] == ':') || name.front() == '\\';
}
}  // namespace

std::string RunInputsPath(std::string_view source) {
  return ExtractFilePath(source) + ".quillet-tex\\" + ChangeFileExt(ExtractFileName(source), ".inputs");
}

std::vector<std::string> ParseRunInputs(std::string_view text, std::string_view source_folder) {
  std::vector<std::string> names;
  while (!text.empty()) {
    // CR and LF are never trail bytes of a double-byte character: lines split at bytes.
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    names.push_back(IsFullName(line) ? std::string(line) : std::string(source_folder).append(line));
  }
  return names;
}

bool DviIsCurrent(std::int32_t dvi, std::int32_t source, const std::vector<std::int32_t>& inputs) {
  if (CompareFileAge(dvi, source) <= 0) return false;
  return std::all_of(inputs.begin(), inputs.end(), [dvi](std::int32_t input) {
    return input != kMissingFileAge && CompareFileAge(dvi, input) > 0;
  });
}

}  // namespace quillet
