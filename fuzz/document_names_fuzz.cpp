// Names and ages of documents on any bytes. The input: twelve bytes that make two local
// times, then NUL-separated a document's caption, a temporary folder and a command line.
// File ages order as their times do (to the 2-second slot, clamped to the years the
// format holds) and a missing file is older than any; the packed fields are the time's.
// An autosave copy ends in ".$$$" beside the document (or in the temporary folder) and
// is never the document itself; a backup ends in ".bak" beside it. A command line's
// words, quoted again, split back into the same words, and an option's number is its
// value's digits when they fit 32 bits, else 0.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/command_line.h"
#include "core/dos_time.h"
#include "core/sjis.h"
#include "document/document_names.h"
#include "fuzz/fuzz_checks.h"

namespace {

using fuzz_checks::Require;
using fuzz_checks::SplitAtNul;

using namespace quillet;

int DaysIn(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

DateTime TimeFrom(const std::uint8_t* b) {
  int year = 1975 + b[0] % 140, month = 1 + b[1] % 12;
  return {year, month, 1 + b[2] % DaysIn(year, month), b[3] % 24, b[4] % 60, b[5] % 60};
}

// The time the format keeps: the years it holds, seconds to the even one below.
std::tuple<int, int, int, int, int, int> Kept(const DateTime& t) {
  if (t.year < 1980) return {1980, 1, 1, 0, 0, 0};
  if (t.year > 2107) return {2107, 12, 31, 23, 59, 58};
  return {t.year, t.month, t.day, t.hour, t.minute, t.second / 2 * 2};
}

int Sign(int v) { return (v > 0) - (v < 0); }

void CheckAges(const DateTime& a, const DateTime& b) {
  std::int32_t pa = PackDosDateTime(a), pb = PackDosDateTime(b);
  auto fields = static_cast<std::uint32_t>(pa);
  auto [year, month, day, hour, minute, second] = Kept(a);
  Require(static_cast<int>(fields >> 25) + 1980 == year && static_cast<int>(fields >> 21 & 15) == month &&
          static_cast<int>(fields >> 16 & 31) == day && static_cast<int>(fields >> 11 & 31) == hour &&
          static_cast<int>(fields >> 5 & 63) == minute && static_cast<int>(fields & 31) * 2 == second);
  int calendar = Kept(a) < Kept(b) ? -1 : Kept(b) < Kept(a) ? 1 : 0;
  Require(Sign(CompareFileAge(pa, pb)) == calendar && Sign(CompareFileAge(pb, pa)) == -calendar);
  Require(pa != kMissingFileAge);
  Require(CompareFileAge(pa, kMissingFileAge) > 0 && CompareFileAge(kMissingFileAge, pa) < 0);
  Require(CompareFileAge(kMissingFileAge, kMissingFileAge) == 0);
}

bool EndsInLoneLeadByte(std::string_view text) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) last = i;
  return !text.empty() && last + 1 == text.size() && IsLeadByte(text.back());
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void CheckNames(std::string_view caption, std::string temp_dir) {
  if (temp_dir.empty() || temp_dir.back() != '\\' || ExtractFilePath(temp_dir) != temp_dir) temp_dir += '\\';
  std::string copy = AutoSaveNameFor(caption, temp_dir);
  Require(EndsWith(copy, ".$$$") && !SameFileName(copy, caption));
  bool absolute = (caption.size() >= 2 && caption[1] == ':') || caption.starts_with("\\\\");
  std::string place = absolute ? std::string(caption) : temp_dir + std::string(caption);
  // Beside the document (or in the temporary folder), under the document's name.
  Require(ExtractFilePath(copy) == ExtractFilePath(place));
  // A lead byte cut off at the end of a name would take the extension's dot.
  if (!EndsInLoneLeadByte(caption)) {
    std::string stem = ChangeFileExt(copy, "");
    Require(stem == ChangeFileExt(place, "") || stem == place);
  }
  std::string backup = BackupNameFor(caption);
  Require(EndsWith(backup, ".bak") && ExtractFilePath(backup) == ExtractFilePath(caption));
}

std::string Quoted(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& w : words) line += (line.empty() ? "\"" : " \"") + w + "\"";
  return line;
}

void CheckCommandLine(std::string_view line) {
  std::vector<std::string> words = SplitCommandLine(line);
  std::size_t bytes = 0;
  for (const std::string& w : words) {
    Require(w.find('"') == std::string::npos);
    bytes += w.size();
  }
  Require(bytes <= line.size());
  Require(SplitCommandLine(Quoted(words)) == words);
  CommandOptions options(line);
  for (std::size_t i = 1; i < words.size() && i < 8; ++i) {
    std::size_t first = std::find(words.begin() + 1, words.end(), words[i]) - words.begin();
    Require(options.Flag(words[i]));
    std::string value = first + 1 < words.size() ? words[first + 1] : "";
    Require(options.Value(words[i]) == value);
    // A whole decimal number that fits, leading zeros counting for nothing; else 0.
    std::string_view digits = value;
    bool number = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    unsigned long long n = number && digits.size() <= 10 ? std::stoull(std::string(digits)) : 0;
    Require(options.Number(words[i]) == (n <= 0xFFFFFFFFull ? n : 0));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint8_t times[12] = {};
  for (std::size_t i = 0; i < 12 && i < size; ++i) times[i] = data[i];
  CheckAges(TimeFrom(times), TimeFrom(times + 6));
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  rest.remove_prefix(std::min<std::size_t>(size, 12));
  std::vector<std::string_view> parts = SplitAtNul(rest);
  parts.resize(std::max<std::size_t>(parts.size(), 3));
  CheckNames(parts[0], std::string(parts[1]));
  CheckCommandLine(parts[2]);
  CheckCommandLine(parts[0]);
  return 0;
}
