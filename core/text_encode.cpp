#include "core/text_encode.h"

#include <algorithm>
#include <cstring>

#include "core/iso2022_jp.h"
#include "core/jis_codes.h"
#include "core/sjis.h"
#include "core/utf8.h"

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

char* PutCode(std::uint16_t code, char* o) {
  if (code >= 0x100) *o++ = static_cast<char>(code >> 8);
  *o++ = static_cast<char>(code & 0xFF);
  return o;
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

// No character of the editor's text makes more bytes than this in any coding (a half-width
// katakana becomes three in UTF-8).
constexpr std::size_t kMostBytesPerByte = 3;

// Each character of the text through put(code, foreign character or 0, out place), which
// answers the place after what it wrote, or null when the coding cannot hold the
// character; breaks become the line end's bytes. A tight loop, as a 10 MB save must not
// take much longer in UTF-8 than in Shift-JIS. bad_at: where the character that stopped it
// stands. utf8: for UTF-8, the code page's table of UTF-8 bytes, which the loop reads
// itself for the common double-byte character (a call through put for each one costs
// more than the conversion).
template <typename Put>
bool EncodeWith(std::string_view text, const ForeignChars& chars, LineEnd line_end, BlockWriter& out,
                std::size_t& bad_at, Put put, const std::uint32_t* utf8 = nullptr) {
  std::string_view end_bytes = LineEndBytes(line_end);
  bool breaks_as_they_are = line_end == LineEnd::kCrLf;
  const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char *p = begin, *end = begin + text.size();
  while (p < end) {
    std::size_t chunk = std::min<std::size_t>(static_cast<std::size_t>(end - p), 4096);
    char* o = out.Room(kMostBytesPerByte * chunk + 8);
    for (const unsigned char* stop = p + chunk; p < stop;) {
      unsigned char c = *p;
      if (utf8 && c >= 0x81 && c < 0xF0 && (c < 0xA0 || c >= 0xE0) && p + 1 < end && p[1] >= 0x40) {
        if (std::uint32_t packed = utf8[c << 8 | p[1]]; packed != 0) {
          std::memcpy(o, &packed, 4);  // room is always there; only the first bytes count
          o += packed >> 24;
          p += 2;
          continue;
        }
      }
      if (c < 0x80) {
        if (c == '\r' && !breaks_as_they_are && p + 1 < end && p[1] == '\n') {
          o = std::copy(end_bytes.begin(), end_bytes.end(), o);
          p += 2;
        } else {
          *o++ = static_cast<char>(c);
          ++p;
        }
        continue;
      }
      bool pair = IsLeadByte(c) && p + 1 < end && p[1] >= 0x40;
      std::uint16_t code = pair ? static_cast<std::uint16_t>(c << 8 | p[1]) : c;
      char32_t foreign = c >= 0xF0 && pair ? chars.CharOf(code) : 0;
      char* next = put(code, foreign, o);
      if (!next) {
        out.Advance(o);
        bad_at = static_cast<std::size_t>(p - begin);
        return false;
      }
      o = next;
      p += pair ? 2 : 1;
    }
    out.Advance(o);
  }
  return true;
}

char* PutShiftJis(const CodePage932& code_page, std::uint16_t code, char32_t foreign, char* o) {
  if (foreign == 0) return PutCode(code, o);
  if (IsKeptByte(foreign)) {
    *o++ = static_cast<char>(foreign - kKeptByteBase);
    return o;
  }
  if (std::uint16_t own = foreign < 0x110000 ? code_page.CodeOf(foreign) : kNoCode; own != kNoCode) {
    return PutCode(own, o);
  }
  if (std::uint16_t user = UserDefinedCode(foreign); user != kNoCode) return PutCode(user, o);
  return nullptr;
}

char* PutUtf8Char(const std::uint32_t* utf8, std::uint16_t code, char32_t foreign, char* o) {
  if (foreign == 0) {
    std::uint32_t packed = utf8[code];
    if (packed == 0) return nullptr;
    std::memcpy(o, &packed, 4);  // room is always there; only the first bytes count
    return o + (packed >> 24);
  }
  if (IsKeptByte(foreign)) {
    *o++ = static_cast<char>(foreign - kKeptByteBase);
    return o;
  }
  return foreign < 0x110000 ? WriteUtf8(foreign, o) : nullptr;
}

char* PutEuc(std::uint16_t code, char32_t foreign, char* o) {
  unsigned char lead = static_cast<unsigned char>(code >> 8), low = static_cast<unsigned char>(code);
  if (code >= 0xA1 && code <= 0xDF) {
    *o++ = '\x8E';
    *o++ = static_cast<char>(code);
  } else if (code >= 0x100 && IsGridShiftJis(lead, low)) {
    JisCell jis = JisFromShiftJis(lead, low);
    *o++ = static_cast<char>(jis.row + 0xA0);
    *o++ = static_cast<char>(jis.cell + 0xA0);
  } else if (IsKeptByte(foreign)) {
    *o++ = static_cast<char>(foreign - kKeptByteBase);
  } else if (IsJis0212(foreign)) {
    *o++ = '\x8F';
    *o++ = static_cast<char>(((foreign - kJis0212Base) >> 8) + 0xA0);
    *o++ = static_cast<char>(((foreign - kJis0212Base) & 0xFF) + 0xA0);
  } else {
    return nullptr;
  }
  return o;
}

// Where the character at pos stands.
Unholdable PlaceOf(std::string_view text, std::size_t pos, const ForeignChars& chars) {
  TextWalker walk(text);
  while (walk.pos() < pos) walk.Next();
  std::uint16_t code = walk.Code();
  return walk.Here(code, chars.CharOf(code));
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
                const ForeignChars& chars, const JisLineForms* jis_forms, BlockWriter& out, Unholdable& bad) {
  if (coding.encoding == Encoding::kUtf8 && coding.bom) out.Put("\xEF\xBB\xBF");
  std::size_t bad_at = 0;
  bool ok = true;
  switch (coding.encoding) {
    case Encoding::kShiftJis:
      ok = EncodeWith(text, chars, coding.line_end, out, bad_at, [&code_page](std::uint16_t code, char32_t c, char* o) {
        return PutShiftJis(code_page, code, c, o);
      });
      break;
    case Encoding::kUtf8:
      ok = EncodeWith(
          text, chars, coding.line_end, out, bad_at,
          [utf8 = code_page.Utf8Table()](std::uint16_t code, char32_t c, char* o) { return PutUtf8Char(utf8, code, c, o); },
          code_page.Utf8Table());
      break;
    case Encoding::kEucJp:
      ok = EncodeWith(text, chars, coding.line_end, out, bad_at, PutEuc);
      break;
    case Encoding::kIso2022Jp: {
      std::string jis;
      if (!EncodeIso2022Jp(text, chars, jis_forms, coding.line_end, jis, bad)) return false;
      out.Put(jis);
      return true;
    }
  }
  if (!ok) bad = PlaceOf(text, bad_at, chars);
  return ok;
}

bool EncodeText(std::string_view first, std::string_view second, const FileCoding& coding,
                const CodePage932& code_page, const ForeignChars& chars, const JisLineForms* jis_forms,
                BlockWriter& out, Unholdable& bad) {
  unsigned char seam = first.empty() ? 0 : static_cast<unsigned char>(first.back());
  bool whole_at_seam = second.empty() || (seam != '\r' && !IsLeadByte(seam));
  if (whole_at_seam && coding.encoding != Encoding::kIso2022Jp) {
    FileCoding rest = coding;
    rest.bom = false;
    std::size_t written = out.size();
    if (EncodeText(first, coding, code_page, chars, jis_forms, out, bad) &&
        EncodeText(second, rest, code_page, chars, jis_forms, out, bad)) {
      return true;
    }
    out.Truncate(written);  // the place of what stopped it is found again below
  }
  std::string joined;
  joined.reserve(first.size() + second.size());
  joined.append(first).append(second);
  return EncodeText(joined, coding, code_page, chars, jis_forms, out, bad);
}

bool EncodeText(std::string_view text, const FileCoding& coding, const CodePage932& code_page,
                const ForeignChars& chars, const JisLineForms* jis_forms, std::string& out, Unholdable& bad) {
  BlockWriter writer(text.size());
  bool ok = EncodeText(text, coding, code_page, chars, jis_forms, writer, bad);
  TextBlock block = writer.Finish();
  out.assign(block.data.get(), ok ? block.size : 0);
  return ok;
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
