#include "core/profile_text.h"

#include <optional>
#include <vector>

#include "core/sjis.h"

namespace quillet {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// What the platform's reader takes for blanks around lines, names and values: tab to CR,
// ^Z and space.
bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1A' || c == ' '; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EndsInLineBreak(const std::string& text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

struct Line {
  std::size_t begin, end;  // end: after the line's break
  std::string_view body;   // without the break
};

// Lines end at CR LF, LF or a lone CR, as the platform's reader ends them.
std::vector<Line> Lines(const std::string& text) {
  std::vector<Line> lines;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t stop = text.find_first_of(kLineEnd, begin);
    if (stop == std::string::npos) stop = text.size();
    std::size_t end = stop == text.size() ? stop : stop + (text.compare(stop, 2, kLineEnd) == 0 ? 2 : 1);
    lines.push_back({begin, end, std::string_view(text.data() + begin, stop - begin)});
    begin = end;
  }
  return lines;
}

// The name of a "[name]" line: up to the last "]" character (a trail byte 0x5D is none),
// blanks around it not counting.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::size_t close = 0;
  for (std::size_t i = 1; i < t.size(); i += CharLength(t, i)) {
    if (t[i] == ']') close = i;
  }
  if (close == 0) return std::nullopt;
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
  return found && SameIgnoringAsciiCase(*found, Trim(name));
}

}  // namespace

void ProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
  std::vector<Line> lines = Lines(text_);
  std::size_t i = 0;
  while (i < lines.size() && !IsSection(lines[i], section)) ++i;
  if (i == lines.size()) {
    if (!text_.empty() && !EndsInLineBreak(text_)) text_ += kLineEnd;
    text_.append("[").append(section).append("]").append(kLineEnd);
    text_.append(key).append("=").append(value).append(kLineEnd);
    return;
  }
  std::size_t insert_at = lines[i].end;
  for (++i; i < lines.size() && !SectionName(lines[i].body); ++i) {
    std::string_view name = KeyName(lines[i].body);
    if (!name.empty() && SameIgnoringAsciiCase(name, Trim(key))) {
      std::string replaced = std::string(name) + "=" + std::string(value);
      text_.replace(lines[i].begin, lines[i].body.size(), replaced);
      return;
    }
    if (!Trim(lines[i].body).empty()) insert_at = lines[i].end;
  }
  std::string added;
  if (insert_at == text_.size() && !text_.empty() && !EndsInLineBreak(text_)) added += kLineEnd;
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
