#pragma once
// A file's bytes, in any coding the program reads, made into the editor's text:
// Shift-JIS with CR LF breaks (CR LF, lone CR and lone LF in the file all become CR LF).
// Nothing is lost: a character Shift-JIS has no code for gets one of the document's own
// (core/foreign_chars.h), and a byte that reads as no character is kept as it was, so the
// text encodes back to the same bytes. Characters beyond the area's codes show as 〓 and
// are counted by the table (such a text cannot be written back).
#include <cstddef>
#include <string_view>

#include "core/code_page_932.h"
#include "core/foreign_chars.h"
#include "core/iso2022_jp.h"
#include "core/text_encoding.h"
#include "core/text_gap.h"

namespace quillet {

struct DecodedText {
  TextBlock text;
  ForeignChars chars;
  JisLineForms jis_forms;  // ISO-2022-JP only
};

// bytes without the UTF-8 byte order mark.
void DecodeText(std::string_view bytes, Encoding encoding, const CodePage932& code_page, DecodedText& out);

// Reads bytes as UTF-8 when they are valid UTF-8 throughout, in the same pass that finds
// whether they are; false, with out untouched, when they are not.
bool DecodeIfUtf8(std::string_view bytes, const CodePage932& code_page, DecodedText& out);

// The bytes after a UTF-8 byte order mark when the coding has one.
std::string_view WithoutBom(std::string_view bytes, const FileCoding& coding);

}  // namespace quillet
