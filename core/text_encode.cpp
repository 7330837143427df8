#include "core/text_encode.h"

#include "core/iso2022_jp.h"
#include "core/jis_codes.h"
#include "core/sjis.h"

namespace quillet {

std::uint16_t TextWalker::Code() const {
  unsigned char c = static_cast<unsigned char>(text_[pos_]);
  if (IsLeadByte(c) && pos_ + 1 < text_.size() && static_cast<unsigned char>(text_[pos_ + 1]) >= 0x40) {
    return static_cast<std::uint16_t>(c << 8 | static_cast<unsigned char>(text_[pos_ + 1]));
  }
  return c;
}

void TextWalker::Next() {
  if (AtBreak()) {
    pos_ += 2;
    ++line_;
    line_start_ = pos_;
  } else {
    pos_ += Code() >= 0x100 ? 2 : 1;
  }
}

namespace {

void PutUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void PutCode(std::uint16_t code, std::string& out) {
  if (code >= 0x100) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

// The code of a private-use character in the user-defined area, as code page 932 has it.
std::uint16_t UserDefinedCode(char32_t c) {
  if (c < 0xE000 || c >= 0xE000 + ForeignChars::kCapacity) return kNoCode;
  std::size_t index = c - 0xE000, lead = 0xF0 + index / 188, trail = 0x40 + index % 188;
  return static_cast<std::uint16_t>(lead << 8 | (trail >= 0x7F ? trail + 1 : trail));
}

// Each character of the text through put(code, foreign character or 0, out), which answers
// false when the coding cannot hold it; breaks become the line end's bytes.
template <typename Put>
bool EncodeWith(std::string_view text, const ForeignChars& chars, LineEnd line_end, std::string& out,
                Unholdable& bad, Put put) {
  std::string_view end_bytes = LineEndBytes(line_end);
  out.reserve(text.size() + text.size() / 2);
  for (TextWalker walk(text); !walk.done(); walk.Next()) {
    if (walk.AtBreak()) {
      out += end_bytes;
      continue;
    }
    std::uint16_t code = walk.Code();
    char32_t foreign = code >= 0xF000 ? chars.CharOf(code) : 0;
    if (!put(code, foreign, out)) {
      bad = walk.Here(code, foreign);
      return false;
    }
  }
  return true;
}

bool PutShiftJis(const CodePage932& code_page, std::uint16_t code, char32_t foreign, std::string& out) {
  if (foreign == 0) {
    PutCode(code, out);
  } else if (IsKeptByte(foreign)) {
    out += static_cast<char>(foreign - kKeptByteBase);
  } else if (std::uint16_t own = foreign < 0x110000 ? code_page.CodeOf(foreign) : kNoCode; own != kNoCode) {
    PutCode(own, out);
  } else if (std::uint16_t user = UserDefinedCode(foreign); user != kNoCode) {
    PutCode(user, out);
  } else {
    return false;
  }
  return true;
}

bool PutUtf8Char(const CodePage932& code_page, std::uint16_t code, char32_t foreign, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (IsKeptByte(foreign)) {
    out += static_cast<char>(foreign - kKeptByteBase);
  } else if (char32_t c = foreign ? foreign : code_page.CharOf(code); c != 0 && c < 0x110000) {
    PutUtf8(c, out);
  } else {
    return false;
  }
  return true;
}

bool PutEuc(std::uint16_t code, char32_t foreign, std::string& out) {
  unsigned char lead = static_cast<unsigned char>(code >> 8), low = static_cast<unsigned char>(code);
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code >= 0xA1 && code <= 0xDF) {
    out += '\x8E';
    out += static_cast<char>(code);
  } else if (code >= 0x100 && IsGridShiftJis(lead, low)) {
    JisCell jis = JisFromShiftJis(lead, low);
    out += static_cast<char>(jis.row + 0xA0);
    out += static_cast<char>(jis.cell + 0xA0);
  } else if (IsKeptByte(foreign)) {
    out += static_cast<char>(foreign - kKeptByteBase);
  } else if (IsJis0212(foreign)) {
    out += '\x8F';
    out += static_cast<char>(((foreign - kJis0212Base) >> 8) + 0xA0);
    out += static_cast<char>(((foreign - kJis0212Base) & 0xFF) + 0xA0);
  } else {
    return false;
  }
  return true;
}

std::string CodePointText(char32_t c) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string digits;
  for (int shift = c > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4) digits += kHex[c >> shift & 0xF];
  return "U+" + digits;
}

}  // namespace

bool WrittenAsIs(const FileCoding& coding) {
  return coding.encoding == Encoding::kShiftJis && coding.line_end == LineEnd::kCrLf;
}

bool EncodeText(std::string_view text, const FileCoding& coding, const CodePage932& code_page,
                const ForeignChars& chars, const JisLineForms* jis_forms, std::string& out, Unholdable& bad) {
  out.clear();
  if (coding.encoding == Encoding::kUtf8 && coding.bom) out = "\xEF\xBB\xBF";
  switch (coding.encoding) {
    case Encoding::kShiftJis:
      return EncodeWith(text, chars, coding.line_end, out, bad, [&code_page](std::uint16_t code, char32_t c, std::string& o) {
        return PutShiftJis(code_page, code, c, o);
      });
    case Encoding::kUtf8:
      return EncodeWith(text, chars, coding.line_end, out, bad, [&code_page](std::uint16_t code, char32_t c, std::string& o) {
        return PutUtf8Char(code_page, code, c, o);
      });
    case Encoding::kEucJp:
      return EncodeWith(text, chars, coding.line_end, out, bad, PutEuc);
    case Encoding::kIso2022Jp:
      return EncodeIso2022Jp(text, chars, jis_forms, coding.line_end, out, bad);
  }
  return false;
}

bool CanHold(Encoding encoding, char32_t c) {
  if (IsKeptByte(c)) return false;
  if (encoding == Encoding::kUtf8) return c < 0x110000;
  return IsJis0212(c) && (encoding == Encoding::kEucJp || encoding == Encoding::kIso2022Jp);
}

const char* EncodingLongName(Encoding encoding) {
  static const char* const kNames[] = {"Shift-JIS", "UTF-8", "EUC-JP", "JIS (ISO-2022-JP)"};
  return kNames[static_cast<int>(encoding)];
}

std::string UnholdablePlace(const Unholdable& bad, const CodePage932& code_page) {
  char32_t c = bad.ch ? bad.ch : code_page.CharOf(bad.code);
  std::string text = std::to_string(bad.line);
  text.append(" 行 ").append(std::to_string(bad.column)).append(" 桁目の文字");
  if (bad.ch == 0 && c != 0) {
    text.append("「");
    PutCode(bad.code, text);
    text.append("」(").append(CodePointText(c)).append(")");
  } else if (c != 0 && c < 0x110000) {
    text.append(" ").append(CodePointText(c));
  } else {
    text.append(" (ｺｰﾄﾞ ").append(CodePointText(bad.code).substr(2)).append(")");
  }
  return text;
}

std::string UnholdableText(const Unholdable& bad, Encoding encoding, const CodePage932& code_page) {
  return UnholdablePlace(bad, code_page) + " は " + EncodingLongName(encoding) + " で保存できません。";
}

}  // namespace quillet
