#pragma once
// One section of a settings file as the platform's section read gives it: "key=value"
// strings one after another, each ended by a NUL. Keys are found as the platform's key
// read finds them, so a whole section read once answers for many key reads.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

class ProfileSection {
 public:
  // entries: the filled part of the buffer (without the final extra NUL).
  explicit ProfileSection(std::string_view entries);

  // The value of the first entry named key (blanks around key and value do not count,
  // ASCII letters are compared without case), with one pair of matching quotes around it
  // removed; nothing when no entry has that name or the first one has no "=".
  std::optional<std::string> Find(std::string_view key) const;
  // The names of the entries that have a value, in order, as the platform's key-list
  // read gives them.
  std::vector<std::string> KeyNames() const;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> entries_;
};

}  // namespace quillet
