#pragma once
// The text of a settings (INI) file, changed as the platform's profile writer changes it
// but with every line it does not own kept byte for byte: comments, blank lines, odd
// spacing and unknown sections stay as another program wrote them. Lines and names are
// found as the platform's reader finds them: a line ends at CR LF, LF or a lone CR, a
// "[name]" line names a section up to its last "]" character, blanks (tab to CR, ^Z,
// space) around names do not count, and names compare without regard to ASCII case
// while double-byte characters compare exactly.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class ProfileText {
 public:
  explicit ProfileText(std::string_view text = {});
  // The whole text, joined again from its sections.
  const std::string& text() const;

  // The key's line of the first section of that name becomes "key=value" (the key spelt
  // as in the file); a missing key is added after the section's last non-blank line, a
  // missing section at the end of the file. A value in a pair of matching quotes gets one
  // more pair, which the reader takes off. What would not read back as written (a section
  // or key that IsStorableSection or IsStorableKey refuses, a value with a line break or a
  // NUL) is refused: false, and nothing changes.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every section of that name with all its lines.
  void EraseSection(std::string_view section);

  // What the platform's section read gives for the first section of that name:
  // "key=value" (or the bare line) for each line but blank lines and comments, blanks
  // around names and values left out, each ended by a NUL; nothing when there is none.
  std::optional<std::string> SectionEntries(std::string_view section) const;

 private:
  // The lines before the first section, then each section from its "[name]" line on.
  struct Section {
    std::optional<std::string> name;  // none for the lines before the first section
    std::string text;
  };
  // The index of the first section of that name; 0 (the lines before any) when none.
  std::size_t Find(std::string_view section) const;

  std::vector<Section> sections_;
  mutable std::string joined_;  // what text() last gave
};

// Whether a key written as "key=value" reads back as that key (blanks around it aside):
// it holds no "=", line break or NUL and does not begin with ";" (a comment) or "[" (a
// section header, should a "]" follow).
bool IsStorableKey(std::string_view key);

// Whether a section written as "[name]" is found again by that name (blanks around it
// aside): not empty, no line break or NUL, and no lead byte at its end that would take
// the "]" for its trail byte.
bool IsStorableSection(std::string_view name);

// The name or value without what the platform's reader takes for blanks around it: tab
// to CR, ^Z and space.
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace quillet
