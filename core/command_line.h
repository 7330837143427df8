#pragma once
// Command lines of the programs TeX Quillet starts and ships: split into words, and read
// as options "--name" or "--name value".
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The words of a command line: blanks separate words, double quotes group blanks into a
// word and are dropped. Backslashes are always literal, so a name whose last character
// ends in the byte 0x5C can stand before a closing quote (blank and quote bytes are never
// the second byte of a double-byte character).
std::vector<std::string> SplitCommandLine(std::string_view line);

// Options after the program's own name (the first word).
class CommandOptions {
 public:
  explicit CommandOptions(std::string_view line) : words_(SplitCommandLine(line)) {}
  bool Flag(std::string_view name) const { return Find(name) < words_.size(); }
  // The word after the option; empty when it is missing.
  std::string Value(std::string_view name) const;
  // The value as a whole decimal number; 0 when it is none or does not fit.
  unsigned Number(std::string_view name) const;

 private:
  std::size_t Find(std::string_view name) const;
  std::vector<std::string> words_;
};

}  // namespace quillet
