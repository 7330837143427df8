#pragma once
// The editor's text (Shift-JIS, CR LF) written in a file's own coding. Unedited text comes
// out as the bytes it was read from; a character the coding cannot hold stops the writing
// before anything is written, and is named with its place.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/code_page_932.h"
#include "core/foreign_chars.h"
#include "core/text_block_writer.h"
#include "core/text_encoding.h"

namespace quillet {

class JisLineForms;

// Where the character stands: line and column from 1, the column in bytes as the status
// bar counts it. code is its code in the editor; ch its Unicode character when known.
struct Unholdable {
  std::size_t line = 0, column = 0;
  std::uint16_t code = kNoCode;
  char32_t ch = 0;
};

// Whether writing the text needs no conversion at all (Shift-JIS with CR LF).
bool WrittenAsIs(const FileCoding& coding);

// jis_forms: the lines of the ISO-2022-JP file the text was read from (may be null).
// The bytes go to out (which may hold some already).
bool EncodeText(std::string_view text, const FileCoding& coding, const CodePage932& code_page,
                const ForeignChars& chars, const JisLineForms* jis_forms, BlockWriter& out, Unholdable& bad);
// The same for a text held in two pieces, as the editor holds it round its gap: written
// piece after piece without joining them into a copy first, unless a character or a
// break may run over the seam.
bool EncodeText(std::string_view first, std::string_view second, const FileCoding& coding,
                const CodePage932& code_page, const ForeignChars& chars, const JisLineForms* jis_forms,
                BlockWriter& out, Unholdable& bad);
// The same into a string (for small texts: names, logs, tests).
bool EncodeText(std::string_view text, const FileCoding& coding, const CodePage932& code_page,
                const ForeignChars& chars, const JisLineForms* jis_forms, std::string& out, Unholdable& bad);

// Whether a document in the encoding can hold a character that Shift-JIS has no code for
// (kept bytes never move between documents).
bool CanHold(Encoding encoding, char32_t c);

// How messages name an encoding: "Shift-JIS", "UTF-8", "EUC-JP", "JIS (ISO-2022-JP)".
const char* EncodingLongName(Encoding encoding);

// "12 行 5 桁目の文字「髙」(U+9AD9)": the character shown itself when Shift-JIS has it,
// by its code point always.
std::string UnholdablePlace(const Unholdable& bad, const CodePage932& code_page);
// The place, then " は EUC-JP で保存できません。".
std::string UnholdableText(const Unholdable& bad, Encoding encoding, const CodePage932& code_page);

// Walks the editor's text character by character (a lead byte before a byte of 0x40 or
// more is one character, CR LF is one break), telling where each stands.
class TextWalker {
 public:
  explicit TextWalker(std::string_view text) : text_(text) {}
  bool done() const { return pos_ >= text_.size(); }
  bool AtBreak() const { return text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n'; }
  // The code of the character at the walker (one byte or lead << 8 | trail).
  std::uint16_t Code() const;
  // Steps over the character or the break.
  void Next();
  Unholdable Here(std::uint16_t code, char32_t ch) const { return {line_, pos_ - line_start_ + 1, code, ch}; }
  std::size_t pos() const { return pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0, line_ = 1, line_start_ = 0;
};

}  // namespace quillet
