#pragma once
// Fixed macros: snippets kept one per file, "*.tex" files whose first line begins with
// the header, whose second line "%title" names them and whose other lines are the body.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr std::string_view kMacroHeader = "%% TeX Quillet Macro 1.0";
// The title shown when the second line is no "%" line.
inline constexpr const char* kUntitledMacro = "(タイトルなし)";
// How much of a file the header test reads, and the most of a file shown as a macro.
inline constexpr std::size_t kMacroHeaderBytes = kMacroHeader.size();
inline constexpr std::size_t kMacroLimit = 1 << 20;

// The folder of the setting with a "\" at its end (an empty setting gives "\"). A name
// that ends in a double-byte character whose second byte is 0x5C still gets one.
std::string MacroFolder(std::string_view setting);

// Whether the first bytes of a file are the header.
bool IsMacroFile(std::string_view first_bytes);

struct Macro {
  std::string title;  // kUntitledMacro when there is none
  std::string body;   // the body lines, each followed by CR LF
};
// A macro file's text (lines end in CR LF, LF or CR): the title and the body. A text
// longer than kMacroLimit is taken up to its last whole line within the limit.
Macro ParseMacro(std::string_view file_text);

}  // namespace quillet
