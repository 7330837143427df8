#pragma once
// ISO-2022-JP: seven-bit text whose escape sequences switch between ASCII, JIS-Roman,
// half-width katakana, JIS X 0208 (1978 and 1983) and JIS X 0212. The same text can be
// written with different escapes (where a line switches back to ASCII, whether it does at
// its end, 1978 or 1983), so the lines of a file that the program would write otherwise
// are kept as the file had them, and a line the user did not edit is written back as it
// was.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/foreign_chars.h"
#include "core/text_block_writer.h"
#include "core/text_encoding.h"
#include "core/text_encode.h"

namespace quillet {

enum class JisSet : std::uint8_t { kAscii, kRoman, kKatakana, kJis1978, kJis1983, kJis0212 };

class JisLineForms {
 public:
  struct Form {
    std::string bytes;  // without the line end
    JisSet before = JisSet::kAscii, after = JisSet::kAscii;
  };

  // While reading: the file's next line, with its own form when the program would write
  // its text otherwise.
  void Note(std::string_view text, const Form* own);
  // After the last line: only texts that some line wrote in a form of its own are kept.
  void Finish();
  bool empty() const { return lines_.empty(); }

  // While writing: the form of the next line with this text; null for the program's own.
  class Writer {
   public:
    explicit Writer(const JisLineForms* forms) : forms_(forms) {}
    const Form* Next(std::string_view text);

   private:
    const JisLineForms* forms_;
    std::unordered_map<std::string, std::size_t> seen_;
  };

 private:
  // Every line with a given text, in file order: its own form, or none.
  std::unordered_map<std::string, std::vector<std::optional<Form>>> lines_;
};

// Reads ISO-2022-JP into the editor's text; a character the area has no code left for is
// shown as 〓.
void DecodeIso2022Jp(std::string_view bytes, BlockWriter& out, ForeignChars& chars, JisLineForms& forms);

// Writes the editor's text as ISO-2022-JP (each line back in ASCII at its end, as mail
// and news have it, unless the file's own form says otherwise); false, with the first
// character it cannot hold, when there is one.
bool EncodeIso2022Jp(std::string_view text, const ForeignChars& chars, const JisLineForms* forms,
                     LineEnd line_end, std::string& out, Unholdable& bad);

}  // namespace quillet
