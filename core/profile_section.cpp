#include "core/profile_section.h"

#include "core/profile_text.h"
#include "core/sjis.h"

namespace quillet {

namespace {

// The blanks the platform's reader takes off names and values, so that a key it keeps
// (ending in \v, \f or ^Z, say) is found by its name.
std::string_view Trim(std::string_view text) { return TrimProfileBlanks(text); }

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

ProfileSection::ProfileSection(std::string_view entries) {
  while (!entries.empty()) {
    std::size_t end = entries.find('\0');
    std::string_view entry = entries.substr(0, end);
    entries = end == std::string_view::npos ? std::string_view() : entries.substr(end + 1);
    if (entry.empty()) continue;
    std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      // A line without a value still hides later lines of its name from the key read.
      entries_.emplace_back(Trim(entry), std::nullopt);
      continue;
    }
    entries_.emplace_back(Trim(entry.substr(0, equals)), std::string(Unquote(Trim(entry.substr(equals + 1)))));
  }
}

std::optional<std::string> ProfileSection::Find(std::string_view key) const {
  std::string_view wanted = Trim(key);
  for (const auto& [name, value] : entries_) {
    if (SameIgnoringAsciiCase(name, wanted)) return value;
  }
  return std::nullopt;
}

std::vector<std::string> ProfileSection::KeyNames() const {
  std::vector<std::string> names;
  for (const auto& [name, value] : entries_) {
    if (value) names.push_back(name);
  }
  return names;
}

}  // namespace quillet
