#include "core/profile_text.h"

#include <optional>
#include <vector>

#include "core/sjis.h"

namespace quillet {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kLineEnd = "\r\n";

std::string_view Trim(std::string_view s) {
  std::size_t begin = s.find_first_not_of(kBlanks);
  if (begin == std::string_view::npos) return {};
  return s.substr(begin, s.find_last_not_of(kBlanks) - begin + 1);
}

struct Line {
  std::size_t begin, end;  // end: after the line's break
  std::string_view body;   // without the break
};

std::vector<Line> Lines(const std::string& text) {
  std::vector<Line> lines;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t lf = text.find('\n', begin);
    std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
    std::string_view body(text.data() + begin, end - begin);
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.remove_suffix(1);
    lines.push_back({begin, end, body});
    begin = end;
  }
  return lines;
}

// The name of a "[name]" line, blanks around it not counting.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line (or of a line without "="), comments not being keys.
std::string_view KeyName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return {};
  return Trim(t.substr(0, t.find('=')));
}

bool IsSection(const Line& line, std::string_view name) {
  std::optional<std::string_view> found = SectionName(line.body);
  return found && SameIgnoringAsciiCase(*found, name);
}

}  // namespace

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::vector<Line> lines = Lines(text_);
  std::size_t i = 0;
  while (i < lines.size() && !IsSection(lines[i], section)) ++i;
  if (i == lines.size()) {
    if (!text_.empty() && text_.back() != '\n') text_ += kLineEnd;
    text_.append("[").append(section).append("]").append(kLineEnd);
    text_.append(key).append("=").append(value).append(kLineEnd);
    return;
  }
  std::size_t insert_at = lines[i].end;
  for (++i; i < lines.size() && !SectionName(lines[i].body); ++i) {
    std::string_view name = KeyName(lines[i].body);
    if (!name.empty() && SameIgnoringAsciiCase(name, key)) {
      std::string replaced = std::string(name) + "=" + std::string(value);
      text_.replace(lines[i].begin, lines[i].body.size(), replaced);
      return;
    }
    if (!Trim(lines[i].body).empty()) insert_at = lines[i].end;
  }
  std::string added;
  if (insert_at == text_.size() && !text_.empty() && text_.back() != '\n') added += kLineEnd;
  added.append(key).append("=").append(value).append(kLineEnd);
  text_.insert(insert_at, added);
}

void ProfileText::EraseSection(std::string_view section) {
  std::vector<Line> lines = Lines(text_);
  std::string kept;
  kept.reserve(text_.size());
  bool erasing = false;
  for (const Line& line : lines) {
    if (SectionName(line.body)) erasing = IsSection(line, section);
    if (!erasing) kept.append(text_, line.begin, line.end - line.begin);
  }
  text_ = std::move(kept);
}

}  // namespace quillet
