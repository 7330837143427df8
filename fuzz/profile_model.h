#pragma once
// How the platform's profile functions read a settings file's text, as found under Wine,
// for fuzz targets to check what written bytes read back as:
// - lines end at CR or LF; blanks (tab to CR, ^Z, space) around a line, a name or a value
//   do not count, and blank lines are skipped;
// - a line that begins with "[" and has a "]" character after it starts a section named
//   by what lies between the "[" and the last "]"; lines before the first section form a
//   section named "";
// - in a section, before the first "=" is the key and after it the value; a line without
//   "=" is a key without a value;
// - a key read takes the first section of that name and its first key of that name (ASCII
//   letters without case, blanks around the asked names not counting), then the value up
//   to a NUL, without one pair of matching quotes around it; a key without a value gives
//   nothing;
// - a section read lists "key=value" (or the bare line) for each line but comments (";"),
//   and a key-list read lists the keys with values, comments left out.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sjis.h"

namespace profile_model {

struct Entry {
  std::string name;
  std::optional<std::string> value;  // none for a line without "="
};

struct Section {
  std::string name;
  std::size_t begin = 0, end = 0;  // bytes of the file from the header line to the next one
  std::vector<Entry> entries;
};

inline bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1A' || c == ' '; }

inline std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The name of a section header line, or nothing when the line is none.
inline std::optional<std::string_view> HeaderName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  std::size_t close = 0;
  for (std::size_t i = 1; i < t.size(); i += quillet::CharLength(t, i)) {
    if (t[i] == ']') close = i;
  }
  if (close == 0) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// Sections in file order; the first is the part before any header.
inline std::vector<Section> Parse(std::string_view text) {
  std::vector<Section> sections(1);
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t stop = text.find_first_of("\r\n", begin);
    if (stop == std::string_view::npos) stop = text.size();
    std::string_view line = text.substr(begin, stop - begin);
    if (std::optional<std::string_view> name = HeaderName(line)) {
      sections.back().end = begin;
      sections.push_back({std::string(*name), begin, text.size(), {}});
    } else if (std::string_view t = Trim(line); !t.empty()) {
      std::size_t equals = t.find('=');
      if (equals == std::string_view::npos) {
        sections.back().entries.push_back({std::string(t), std::nullopt});
      } else {
        sections.back().entries.push_back(
            {std::string(Trim(t.substr(0, equals))), std::string(Trim(t.substr(equals + 1)))});
      }
    }
    begin = stop + (text.compare(stop, 2, "\r\n") == 0 ? 2 : 1);
  }
  sections.back().end = text.size();
  return sections;
}

inline const Section* FindSection(const std::vector<Section>& sections, std::string_view name) {
  std::string_view wanted = Trim(name);
  for (const Section& s : sections) {
    if (quillet::SameIgnoringAsciiCase(s.name, wanted)) return &s;
  }
  return nullptr;
}

// A stored value as a key read gives it.
inline std::string ValueAsRead(std::string_view stored) {
  stored = stored.substr(0, stored.find('\0'));
  if (stored.size() >= 2 && (stored.front() == '"' || stored.front() == '\'') && stored.back() == stored.front()) {
    stored = stored.substr(1, stored.size() - 2);
  }
  return std::string(stored);
}

inline std::optional<std::string> Read(const std::vector<Section>& sections, std::string_view section,
                                       std::string_view key) {
  const Section* s = FindSection(sections, section);
  if (!s) return std::nullopt;
  std::string_view wanted = Trim(key);
  for (const Entry& e : s->entries) {
    if (!quillet::SameIgnoringAsciiCase(e.name, wanted)) continue;
    if (!e.value) return std::nullopt;
    return ValueAsRead(*e.value);
  }
  return std::nullopt;
}

// What a section read fills in, without the final extra NUL.
inline std::string SectionRead(const Section& s) {
  std::string filled;
  for (const Entry& e : s.entries) {
    if (!e.name.empty() && e.name.front() == ';') continue;
    filled += e.name;
    if (e.value) filled += "=" + e.value->substr(0, e.value->find('\0'));
    filled += '\0';
  }
  return filled;
}

// The keys a key-list read gives.
inline std::vector<std::string> KeyNames(const Section& s) {
  std::vector<std::string> keys;
  for (const Entry& e : s.entries) {
    if (e.value && (e.name.empty() || e.name.front() != ';')) keys.push_back(e.name);
  }
  return keys;
}

inline bool HasLineBreakOrNul(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

// A lead byte cut off at the end of a name would take the "]" after it as its trail byte.
inline bool EndsInLoneLeadByte(std::string_view text) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < text.size(); i += quillet::CharLength(text, i)) last = i;
  return !text.empty() && last + 1 == text.size() && quillet::IsLeadByte(text.back());
}

// Names and values the file gives back exactly as written.
inline bool HoldableSection(std::string_view name) {
  return !name.empty() && !HasLineBreakOrNul(name) && Trim(name) == name && !EndsInLoneLeadByte(name);
}
inline bool HoldableKey(std::string_view key) {
  return !HasLineBreakOrNul(key) && Trim(key) == key && key.find('=') == std::string_view::npos &&
         !key.starts_with(";") && !key.starts_with("[");
}
inline bool QuoteWrapped(std::string_view text) {
  return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
}
// A value as the program writes it reads back without the blanks around it, unless a
// pair of quotes inside them keeps it whole.
inline std::string WrittenValueAsRead(std::string_view value) {
  return std::string(QuoteWrapped(Trim(value)) ? value : Trim(value));
}
inline bool HoldableValue(std::string_view value) {
  return !HasLineBreakOrNul(value) && WrittenValueAsRead(value) == value;
}

}  // namespace profile_model
