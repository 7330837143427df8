#pragma once
// Command lines of the programs TeX Quillet starts and ships: split into words, and read
// as options "--name" or "--name value"; and the line request a viewer's inverse search
// gives the program.
#include <optional>
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

// "Quillet.exe -line N FILE": show line N (from 1) of FILE.
struct LineRequest {
  int line = 0;
  std::string file;
  bool operator==(const LineRequest&) const = default;
};

// The request the words of a whole command line make (the program's name first): "-line",
// a positive decimal number and a name; the words after the number are joined by single
// blanks, since a viewer may pass a name with blanks unquoted. Anything else is no request.
std::optional<LineRequest> ParseLineRequest(const std::vector<std::string>& words);

// A name written as Unix writes it, by a viewer running outside Wine: "/home/u/a.tex".
bool IsUnixFileName(std::string_view name);

}  // namespace quillet
