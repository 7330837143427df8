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

// The first entry from start on (going round to the top) whose name begins with typed,
// letters in either case, as a list finds an item by its first letters; -1 when none does.
int FindCommandStartingWith(const std::vector<CommandEntry>& entries, std::string_view typed, std::size_t start);

// The command with its mandatory arguments, as typed into the document: "\" + name and
// each "{...}" of the argument form with its placeholder text ("[...]", optional, left out);
// the first placeholder is where typing should go.
struct CommandInsertion {
  std::string text;
  std::size_t placeholder = 0, placeholder_length = 0;  // in bytes of text; 0: none
};
CommandInsertion WithArguments(const CommandEntry& entry);

}  // namespace quillet
