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

bool EndsInLineBreak(std::string_view text) { return !text.empty() && (text.back() == '\n' || text.back() == '\r'); }

struct Line {
  std::size_t begin, end;  // end: after the line's break
  std::string_view body;   // without the break
};

// Lines end at CR LF, LF or a lone CR, as the platform's reader ends them.
std::vector<Line> Lines(std::string_view text) {
  std::vector<Line> lines;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t stop = text.find_first_of(kLineEnd, begin);
    if (stop == std::string::npos) stop = text.size();
    std::size_t end = stop == text.size() ? stop : stop + (text.substr(stop, 2) == kLineEnd ? 2 : 1);
    lines.push_back({begin, end, text.substr(begin, stop - begin)});
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

// The key of a "key=value" line (or of a line without "="; "=value" has the empty key),
// blank lines and comments having none.
std::optional<std::string_view> KeyName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  return Trim(t.substr(0, t.find('=')));
}

// The reader takes one pair of matching quotes off a value (inside its blanks), so a value
// that has them is written inside one more pair and reads back as it is.
std::string Stored(std::string_view value) {
  std::string_view t = Trim(value);
  bool quoted = t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front();
  if (!quoted) return std::string(value);
  std::string stored = "\"";
  return stored.append(value).append("\"");
}

bool IsNamed(std::string_view found, std::string_view name) { return SameIgnoringAsciiCase(found, Trim(name)); }

}  // namespace

namespace {
bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}
}  // namespace

// Line breaks are looked for before the blanks are trimmed: CR and LF are blanks too.
bool IsStorableKey(std::string_view key) {
  std::string_view t = Trim(key);
  if (!t.empty() && (t.front() == ';' || t.front() == '[')) return false;
  return !HasLineBreakOrNul(key) && t.find('=') == std::string_view::npos;
}

bool IsStorableSection(std::string_view name) {
  std::string_view t = Trim(name);
  if (t.empty() || HasLineBreakOrNul(name)) return false;
  std::size_t last = 0;
  for (std::size_t i = 0; i < t.size(); i += CharLength(t, i)) last = i;
  return last + CharLength(t, last) == t.size() && !(last + 1 == t.size() && IsLeadByte(t.back()));
}

std::string_view TrimProfileBlanks(std::string_view text) { return Trim(text); }

// The text is kept cut at its section lines, so a change looks only at its own section:
// a page of changes to a file of megabytes stays fast.
ProfileText::ProfileText(std::string_view text) {
  sections_.push_back({std::nullopt, {}});
  for (const Line& line : Lines(text)) {
    std::optional<std::string_view> name = SectionName(line.body);
    if (name) sections_.push_back({std::string(*name), {}});
    sections_.back().text.append(text.substr(line.begin, line.end - line.begin));
  }
}

const std::string& ProfileText::text() const {
  std::size_t size = 0;
  for (const Section& s : sections_) size += s.text.size();
  joined_.clear();
  joined_.reserve(size);
  for (const Section& s : sections_) joined_ += s.text;
  return joined_;
}

std::size_t ProfileText::Find(std::string_view section) const {
  for (std::size_t i = 1; i < sections_.size(); ++i) {
    if (IsNamed(*sections_[i].name, section)) return i;
  }
  return 0;
}

std::optional<std::string> ProfileText::SectionEntries(std::string_view section) const {
  std::size_t found = Find(section);
  if (!found) return std::nullopt;
  std::string entries;
  std::vector<Line> lines = Lines(sections_[found].text);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view t = Trim(lines[i].body);
    if (t.empty() || t.front() == ';') continue;
    std::size_t equals = t.find('=');
    entries += Trim(t.substr(0, equals));
    if (equals != std::string_view::npos) {
      std::string_view value = Trim(t.substr(equals + 1));
      entries.append("=").append(value.substr(0, value.find('\0')));
    }
    entries += '\0';
  }
  return entries;
}

bool ProfileText::Set(std::string_view section, std::string_view key, std::string_view given) {
  if (!IsStorableSection(section) || !IsStorableKey(key) || HasLineBreakOrNul(given)) return false;
  const std::string value = Stored(given);
  std::size_t found = Find(section);
  if (!found) {
    std::string& last = sections_.back().text;
    if (!last.empty() && !EndsInLineBreak(last)) last += kLineEnd;
    std::string added;
    added.append("[").append(section).append("]").append(kLineEnd);
    added.append(key).append("=").append(value).append(kLineEnd);
    sections_.push_back({std::string(Trim(section)), std::move(added)});
    return true;
  }
  std::string& text = sections_[found].text;
  std::vector<Line> lines = Lines(text);
  std::size_t insert_at = lines[0].end;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::optional<std::string_view> name = KeyName(lines[i].body);
    if (name && SameIgnoringAsciiCase(*name, Trim(key))) {
      std::string replaced = std::string(*name) + "=" + value;
      text.replace(lines[i].begin, lines[i].body.size(), replaced);
      return true;
    }
    if (!Trim(lines[i].body).empty()) insert_at = lines[i].end;
  }
  std::string added;
  if (insert_at == text.size() && !EndsInLineBreak(text)) added += kLineEnd;
  added.append(key).append("=").append(value).append(kLineEnd);
  text.insert(insert_at, added);
  return true;
}

void ProfileText::EraseSection(std::string_view section) {
  std::erase_if(sections_, [&](const Section& s) { return s.name && IsNamed(*s.name, section); });
}

}  // namespace quillet
