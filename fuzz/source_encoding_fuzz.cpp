// TeX sources of any bytes, split at NUL: the main file, then the files "a.tex", "b.tex",
// ... it may read in. The names of the files read in are whole names (an extension, no
// quotes, no blank at either end); the search for the source's code reads only those
// names, each once and no more than 64, from plain-ASCII files only, and answers the main
// file's own code when it holds more than ASCII; a log is read in the source's code
// whenever it reads validly in it.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "tex/source_encoding.h"

namespace {

using fuzz_checks::Require;
using namespace quillet;

bool PlainAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (c == '\x1b' || static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool WholeName(const std::string& name) {
  return !name.empty() && name.find('"') == std::string::npos && name.front() != ' ' && name.back() != ' ' &&
         name.find('.', name.rfind('/') + 1) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string_view> parts =
      fuzz_checks::SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
  std::map<std::string, std::string_view> files;
  for (std::size_t i = 1; i < parts.size() && i <= 26; ++i) {
    files[std::string(1, static_cast<char>('a' + i - 1)) + ".tex"] = parts[i];
  }
  std::map<std::string, int> reads;
  std::vector<std::string> named;  // every name a plain-ASCII file read gives
  for (std::string_view part : parts) {
    if (!PlainAscii(part)) continue;
    for (const std::string& name : IncludedFiles(part)) {
      Require(WholeName(name));
      named.push_back(name);
    }
  }
  auto read = [&](const std::string& name) -> std::optional<std::string> {
    ++reads[name];
    auto found = files.find(name);
    return found == files.end() ? std::nullopt : std::optional<std::string>(found->second);
  };
  std::optional<Encoding> found = SourceEncoding(parts[0], read);
  std::size_t total = 0;
  for (const auto& [name, count] : reads) {
    Require(count == 1 && std::find(named.begin(), named.end(), name) != named.end());
    total += static_cast<std::size_t>(count);
  }
  Require(total <= 64);
  if (!PlainAscii(parts[0])) {
    Require(reads.empty());
    DetectedCoding detected = DetectCoding(parts[0], LineEnd::kCrLf);
    Require(found == (detected.not_text == NotText::kNone ? std::optional(detected.coding.encoding) : std::nullopt));
  }
  for (Encoding source : {Encoding::kShiftJis, Encoding::kUtf8, Encoding::kEucJp, Encoding::kIso2022Jp}) {
    Encoding log = LogEncoding(parts[0], source);
    if (source == Encoding::kUtf8 && IsValidUtf8(parts[0])) Require(log == source);
    if (source == Encoding::kEucJp && IsValidEucJp(parts[0])) Require(log == source);
  }
  return 0;
}
