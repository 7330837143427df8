#include "core/text_decode.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "core/byte_scan.h"
#include "core/jis_codes.h"
#include "core/text_block_writer.h"
#include "core/utf8.h"

namespace quillet {

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080u;

class Decoder {
 public:
  Decoder(std::string_view bytes, DecodedText& out)
      : bytes_(bytes), out_(out), writer_(bytes.size() + bytes.size() / 16) {}

  template <typename ReadHigh>
  void Run(ReadHigh read_high) {
    const char* p = bytes_.data();
    std::size_t n = bytes_.size();
    for (std::size_t i = 0; i < n;) {
      // Eight ASCII bytes without a break go over as they are.
      if (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if ((word & kHighBits) == 0 && !WordHasByte(word, '\r') && !WordHasByte(word, '\n')) {
          writer_.Put(std::string_view(p + i, 8));
          i += 8;
          continue;
        }
      }
      unsigned char c = static_cast<unsigned char>(p[i]);
      if (c == '\r' || c == '\n') {
        writer_.PutBreak();
        i += c == '\r' && i + 1 < n && p[i + 1] == '\n' ? 2 : 1;
      } else if (c < 0x80) {
        writer_.Put(static_cast<char>(c));
        ++i;
      } else {
        i = read_high(i);
      }
    }
    out_.text = writer_.Finish();
  }

  unsigned char At(std::size_t i) const { return i < bytes_.size() ? static_cast<unsigned char>(bytes_[i]) : 0; }
  BlockWriter& writer() { return writer_; }

  void PutCode(std::uint16_t code) { writer_.PutCode(code); }
  void PutForeign(char32_t c) {
    std::uint16_t code = out_.chars.CodeFor(c);
    writer_.PutCode(code != 0 ? code : kGetaCode);
  }

 private:
  std::string_view bytes_;
  DecodedText& out_;
  BlockWriter writer_;
};

bool InRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

// Bytes loaded as a word keep their order from the lowest byte up.
std::uint32_t LittleEndian(std::uint32_t word) {
  if constexpr (std::endian::native == std::endian::big) return __builtin_bswap32(word);
  return word;
}

// A tight loop of its own: UTF-8 is what most documents are written in today, and a
// 10 MB one must open about as fast as Shift-JIS.
// strict: stops at the first byte that is not part of a UTF-8 character, answering false.
bool DecodeUtf8(std::string_view bytes, const CodePage932& code_page, DecodedText& out, bool strict) {
  // As much room as the bytes: Japanese shrinks by a third (the editor keeps the rest as
  // room to grow), ASCII stays, and the block is never copied to grow.
  BlockWriter writer(bytes.size() + bytes.size() / 16);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* end = p + bytes.size();
  const std::uint16_t* codes = code_page.CodeTable();
  // The lines are counted as they are written, so the editor need not count them again.
  std::vector<std::uint32_t> starts;
  starts.reserve(bytes.size() / 64);
  auto put_code = [](std::uint16_t code, char*& o) {
    if (code >= 0x100) *o++ = static_cast<char>(code >> 8);
    *o++ = static_cast<char>(code & 0xFF);
  };
  while (p < end) {
    // Each byte read makes at most two: a chunk never runs out of room.
    std::size_t chunk = std::min<std::size_t>(static_cast<std::size_t>(end - p), 4096);
    char* o = writer.Room(2 * chunk + 8);
    const char* room = o;
    std::size_t written = writer.size();
    for (const unsigned char* stop = p + chunk; p < stop;) {
      unsigned char c = *p;
      if (c < 0x80) {
        if (c == '\r' || c == '\n') {
          *o++ = '\r';
          *o++ = '\n';
          starts.push_back(static_cast<std::uint32_t>(written + static_cast<std::size_t>(o - room)));
          p += c == '\r' && p + 1 < end && p[1] == '\n' ? 2 : 1;
        } else {
          *o++ = static_cast<char>(c);
          ++p;
        }
        continue;
      }
      char32_t u;
      // Three bytes, the leads without range rules of their own: kana, kanji, full-width
      // forms; lead and continuation bytes checked in one go.
      std::uint32_t word = 0;
      if (end - p >= 4) std::memcpy(&word, p, 4);
      word = LittleEndian(word);
      if ((word & 0xC0C0F0) == 0x8080E0 && c != 0xE0 && c != 0xED) {
        u = static_cast<char32_t>((c & 0x0F) << 12 | (word >> 8 & 0x3F) << 6 | (word >> 16 & 0x3F));
        p += 3;
      } else if (Utf8Char read = ReadUtf8(p, end); read.length != 0) {
        u = read.c;
        p += read.length;
      } else if (strict) {
        return false;
      } else {
        u = KeptByte(c);
        ++p;
      }
      std::uint16_t code = u < 0x10000 ? codes[u] : kNoCode;
      if (code == kNoCode) {
        code = out.chars.CodeFor(u);
        if (code == 0) code = kGetaCode;
      }
      put_code(code, o);
    }
    writer.Advance(o);
  }
  out.text = writer.Finish();
  out.text.line_starts = std::move(starts);
  out.text.lines_counted = true;
  return true;
}

void DecodeEuc(Decoder& d) {
  d.Run([&d](std::size_t i) {
    unsigned char c = d.At(i), next = d.At(i + 1);
    if (c == 0x8E && InRange(next, 0xA1, 0xDF)) {
      d.PutCode(next);
      return i + 2;
    }
    if (c == 0x8F && InRange(next, 0xA1, 0xFE) && InRange(d.At(i + 2), 0xA1, 0xFE)) {
      d.PutForeign(Jis0212Char(next - 0xA0, d.At(i + 2) - 0xA0));
      return i + 3;
    }
    if (InRange(c, 0xA1, 0xFE) && InRange(next, 0xA1, 0xFE)) {
      d.PutCode(ShiftJisFromJis({c - 0xA0, next - 0xA0}));
      return i + 2;
    }
    d.PutForeign(KeptByte(c));
    return i + 1;
  });
}

// Shift-JIS goes over byte for byte; only its breaks become CR LF.
void DecodeShiftJis(Decoder& d) {
  d.Run([&d](std::size_t i) {
    d.writer().Put(static_cast<char>(d.At(i)));
    return i + 1;
  });
}

}  // namespace

bool DecodeIfUtf8(std::string_view bytes, const CodePage932& code_page, DecodedText& out) {
  DecodedText attempt;
  if (!DecodeUtf8(bytes, code_page, attempt, true)) return false;
  out = std::move(attempt);
  return true;
}

std::string_view WithoutBom(std::string_view bytes, const FileCoding& coding) {
  return coding.encoding == Encoding::kUtf8 && coding.bom && bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
}

void DecodeText(std::string_view bytes, Encoding encoding, const CodePage932& code_page, DecodedText& out) {
  if (encoding == Encoding::kIso2022Jp) {
    BlockWriter writer(bytes.size());
    DecodeIso2022Jp(bytes, writer, out.chars, out.jis_forms);
    out.text = writer.Finish();
    return;
  }
  if (encoding == Encoding::kUtf8) {
    DecodeUtf8(bytes, code_page, out, false);
    return;
  }
  Decoder d(bytes, out);
  if (encoding == Encoding::kEucJp) {
    DecodeEuc(d);
  } else {
    DecodeShiftJis(d);
  }
}

}  // namespace quillet
