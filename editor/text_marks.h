#pragma once
// The characters the editor marks on screen because they show as nothing: the full-width
// space (which TeX takes for a character, so a stray one changes the output unseen) and
// the tab.
#include <cstddef>
#include <string_view>
#include <vector>

namespace quillet {

enum class BlankKind { kFullWidthSpace, kTab };

struct BlankChar {
  std::size_t at;  // byte offset in the text
  BlankKind kind;
  bool operator==(const BlankChar&) const = default;
};

// The full-width spaces and tabs asked for among the characters of text[from, to), in
// order; from lies on a character boundary. Characters are stepped whole by the editor's
// rules, so the bytes 0x81 0x40 after a lead byte (the trail of "ａ" and an "@") are no
// space, nor is a code of a document's own characters (lead 0xF0-0xF9).
void FindBlanks(std::string_view text, std::size_t from, std::size_t to, bool spaces, bool tabs,
                std::vector<BlankChar>& out);

}  // namespace quillet
