#include "core/command_line.h"

#include <cstdint>
#include <limits>

namespace quillet {

namespace {
// A whole decimal number not above limit; 0 when the text is none or too big.
std::uint64_t DecimalOf(std::string_view text, std::uint64_t limit) {
  std::uint64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<unsigned>(c - '0');
    if (n > limit) return 0;  // would wrap to another number
  }
  return n;
}
}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false, quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

std::string CommandOptions::Value(std::string_view name) const {
  std::size_t i = Find(name);
  return i + 1 < words_.size() ? words_[i + 1] : std::string();
}

unsigned CommandOptions::Number(std::string_view name) const {
  return static_cast<unsigned>(DecimalOf(Value(name), std::numeric_limits<unsigned>::max()));
}

std::size_t CommandOptions::Find(std::string_view name) const {
  for (std::size_t i = 1; i < words_.size(); ++i) {
    if (words_[i] == name) return i;
  }
  return words_.size();
}

std::optional<LineRequest> ParseLineRequest(const std::vector<std::string>& words) {
  if (words.size() < 4 || words[1] != "-line") return std::nullopt;
  int line = static_cast<int>(DecimalOf(words[2], std::numeric_limits<int>::max()));
  std::string file = words[3];
  for (std::size_t i = 4; i < words.size(); ++i) file.append(" ").append(words[i]);
  if (line <= 0 || file.empty()) return std::nullopt;
  return LineRequest{line, file};
}

bool IsUnixFileName(std::string_view name) { return name.starts_with('/'); }

}  // namespace quillet
