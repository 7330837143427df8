#include "core/unicode_text.h"

#include "core/text_encode.h"

namespace quillet {

char32_t ShownChar(std::uint16_t code, const CodePage932& code_page, const ForeignChars* chars) {
  char32_t c = chars && code >= 0xF000 ? chars->CharOf(code) : 0;
  if (IsJis0212(c)) return 0x3013;
  if (c >= 0x110000) return 0xFFFD;
  if (c != 0) return c;
  c = code_page.CharOf(code);
  return c != 0 ? c : 0xFFFD;
}

std::u16string Utf16FromEditorText(std::string_view text, const CodePage932& code_page, const ForeignChars* chars) {
  std::u16string out;
  out.reserve(text.size());
  for (TextWalker walk(text); !walk.done(); walk.Next()) {
    if (walk.AtBreak()) {
      out += u"\r\n";
      continue;
    }
    char32_t c = ShownChar(walk.Code(), code_page, chars);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

bool EditorTextFromUtf16(std::u16string_view text, const CodePage932& code_page, ForeignChars* chars,
                         std::string& out, char32_t& refused) {
  out.clear();
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    std::uint16_t code = c >= 0xD800 && c <= 0xDFFF ? kNoCode : code_page.CodeOf(c);
    if (code == kNoCode && chars && !(c >= 0xD800 && c <= 0xDFFF)) code = chars->CodeFor(c);
    if (code == kNoCode || code == 0) {
      refused = c;
      return false;
    }
    if (code >= 0x100) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return true;
}

}  // namespace quillet
