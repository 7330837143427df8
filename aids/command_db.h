#pragma once
// command.db, the command palette's list of TeX control words: a Shift-JIS text file
// beside the program, one entry per line, fields split at ",". A line that begins with
// "%%" is a comment.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

inline constexpr char kCommandDbName[] = "command.db";
// The longest name kept, so that the inserted text with its backslash fits in 999 bytes.
inline constexpr std::size_t kCommandNameLimit = 998;

struct CommandEntry {
  std::string name;         // without its backslash
  std::string field2;       // kept with the entry, shown nowhere
  std::string kind;         // free text: 見出し, 数式, ...
  std::string description;  // one line
  std::string name_key{};   // the name's collation key, where the platform's order is known
};

// The entries of the file's text in file order. Every line that is not a comment gives
// one, an empty line included; missing fields are empty and a fifth field is ignored. A
// longer name is cut at a character boundary.
std::vector<CommandEntry> ParseCommandDb(std::string_view text);

// Byte-wise order of the kinds, as the "種類" column sorts.
bool KindBefore(const CommandEntry& a, const CommandEntry& b);

}  // namespace quillet
