#pragma once
// The editor's text (Shift-JIS, with a document's own codes for characters Shift-JIS
// lacks) and UTF-16, the platform's Unicode text: for the clipboard, and for drawing those
// characters with their real glyphs.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/code_page_932.h"
#include "core/foreign_chars.h"

namespace quillet {

// What a code of the editor's text shows as: its character, the document's own character
// for one of its codes (chars may be null), U+FFFD for a byte kept as it was and for a code
// that is no character, 〓 (U+3013) for a JIS X 0212 character.
char32_t ShownChar(std::uint16_t code, const CodePage932& code_page, const ForeignChars* chars);

// The text in UTF-16 (characters past U+FFFF as surrogate pairs; CR LF stays).
std::u16string Utf16FromEditorText(std::string_view text, const CodePage932& code_page, const ForeignChars* chars);

// UTF-16 text in the editor's codes. A character Shift-JIS has no exact code for is given
// one of chars when chars may take new ones (a UTF-8 document); otherwise, or when the
// area is full, the conversion stops with that character in refused and answers false.
// A lone surrogate is refused as itself.
bool EditorTextFromUtf16(std::u16string_view text, const CodePage932& code_page, ForeignChars* chars,
                         std::string& out, char32_t& refused);

}  // namespace quillet
