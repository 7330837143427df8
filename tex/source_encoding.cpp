#include "tex/source_encoding.h"

#include <algorithm>
#include <set>


namespace quillet {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
// Documents of more files are rare; a tree of includes is not searched further.
constexpr std::size_t kMostFilesRead = 64;

bool SevenBit(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// ISO-2022-JP is seven-bit too: its escape sequences show it.
bool PlainAscii(std::string_view bytes) { return SevenBit(bytes) && bytes.find('\x1b') == std::string_view::npos; }

bool ReadsAs(std::string_view bytes, Encoding encoding) {
  switch (encoding) {
    case Encoding::kUtf8:
      return IsValidUtf8(bytes);
    case Encoding::kEucJp:
      return IsValidEucJp(bytes);
    case Encoding::kIso2022Jp:
      return SevenBit(bytes);
    case Encoding::kShiftJis:
      break;
  }
  return IsValidShiftJis(bytes);
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The file name after \input or \include, i at the first byte after the control word;
// i is left after the name.
std::string FileArgument(std::string_view s, std::size_t& i, bool bare_allowed) {
  i = std::min(s.find_first_not_of(kBlanks, i), s.size());
  std::string_view name;
  if (i < s.size() && s[i] == '{') {
    std::size_t close = std::min(s.find('}', i), s.size());
    name = s.substr(i + 1, close - i - 1);
    i = close;
  } else if (bare_allowed) {
    std::size_t end = std::min(s.find_first_of(" \t\r\n%{}\\", i), s.size());
    name = s.substr(i, end - i);
    i = end;
  }
  std::string bare;
  for (char c : name) {
    if (c != '"') bare += c;  // quotes only hold a name with blanks together
  }
  std::size_t first = bare.find_first_not_of(kBlanks), last = bare.find_last_not_of(kBlanks);
  if (first == std::string::npos) return {};
  bare = bare.substr(first, last - first + 1);
  if (bare.find('.', bare.rfind('/') + 1) == std::string::npos) bare += ".tex";
  return bare;
}

struct IncludeSearch {
  const IncludedFileReader& read;
  std::set<std::string> seen;
};

std::optional<Encoding> EncodingShown(std::string_view bytes, IncludeSearch& search) {
  if (!PlainAscii(bytes)) {
    DetectedCoding detected = DetectCoding(bytes, LineEnd::kCrLf);
    if (detected.not_text != NotText::kNone) return std::nullopt;
    return detected.coding.encoding;
  }
  for (const std::string& name : IncludedFiles(bytes)) {
    if (search.seen.size() >= kMostFilesRead || !search.seen.insert(name).second) continue;
    if (std::optional<std::string> included = search.read(name)) {
      if (std::optional<Encoding> found = EncodingShown(*included, search)) return found;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> IncludedFiles(std::string_view source) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < source.size();) {
    if (source[i] == '%') {
      i = std::min(source.find('\n', i), source.size());
      continue;
    }
    if (source[i] != '\\') {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < source.size() && IsAsciiLetter(source[end])) ++end;
    std::string_view word = source.substr(i + 1, end - i - 1);
    i = word.empty() ? i + 2 : end;  // a control symbol such as \% is passed whole
    if (word != "input" && word != "include") continue;
    if (std::string name = FileArgument(source, i, word == "input"); !name.empty()) names.push_back(name);
  }
  return names;
}

std::optional<Encoding> SourceEncoding(std::string_view source, const IncludedFileReader& read) {
  IncludeSearch search{read, {}};
  return EncodingShown(source, search);
}

Encoding LogEncoding(std::string_view log, std::optional<Encoding> source) {
  if (source && ReadsAs(log, *source)) return *source;
  DetectedCoding detected = DetectCoding(log, LineEnd::kCrLf);
  return detected.not_text == NotText::kNone ? detected.coding.encoding : Encoding::kShiftJis;
}

}  // namespace quillet
