#include "core/text_encoding.h"

#include <cstdint>
#include <cstring>

#include "core/utf8.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

namespace {

constexpr std::uint64_t kHighBits = 0x8080808080808080u;

std::uint64_t LoadWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

// The position of the first byte of 0x80 or more at or after i (size when none).
std::size_t SkipAscii(std::string_view bytes, std::size_t i) {
  const char* p = bytes.data();
  while (i + 8 <= bytes.size() && (LoadWord(p + i) & kHighBits) == 0) i += 8;
  while (i < bytes.size() && static_cast<unsigned char>(p[i]) < 0x80) ++i;
  return i;
}

unsigned char At(std::string_view bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

bool InRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

// EUC-JP read strictly, with the count of its two-byte characters and of those among them
// that are kana or punctuation (rows 1, 4 and 5), which any Japanese prose is full of.
struct EucReading {
  bool valid = true;
  std::size_t pairs = 0;
  std::size_t kana = 0;
};
EucReading ReadAsEuc(std::string_view bytes) {
  EucReading reading;
  auto euc_byte = [&bytes](std::size_t i) { return i < bytes.size() && InRange(At(bytes, i), 0xA1, 0xFE); };
  for (std::size_t i = SkipAscii(bytes, 0); i < bytes.size(); i = SkipAscii(bytes, i)) {
    unsigned char c = At(bytes, i);
    if (c == 0x8E && i + 1 < bytes.size() && InRange(At(bytes, i + 1), 0xA1, 0xDF)) {
      i += 2;
    } else if (c == 0x8F && euc_byte(i + 1) && euc_byte(i + 2)) {
      i += 3;
    } else if (euc_byte(i) && euc_byte(i + 1)) {
      ++reading.pairs;
      if (c == 0xA1 || c == 0xA4 || c == 0xA5) ++reading.kana;
      i += 2;
    } else {
      reading.valid = false;
      return reading;
    }
  }
  return reading;
}

// ESC sequences that designate the character sets of ISO-2022-JP.
bool HasJisDesignation(std::string_view bytes) {
  for (std::size_t i = bytes.find('\x1b'); i != std::string_view::npos; i = bytes.find('\x1b', i + 1)) {
    std::string_view rest = bytes.substr(i + 1, 3);
    if (rest.starts_with("$B") || rest.starts_with("$@") || rest.starts_with("(I") || rest.starts_with("(J") ||
        rest.starts_with("$(D")) {
      return true;
    }
  }
  return false;
}

bool LooksLikeUtf16(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return true;
  // Without a mark: most of the first bytes at one parity are NUL (ASCII in UTF-16).
  std::size_t n = bytes.size() < 512 ? bytes.size() : 512, even = 0, odd = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (bytes[i] == '\0') ++(i % 2 ? odd : even);
  }
  return n >= 4 && (even * 4 >= n || odd * 4 >= n) && (even == 0 || odd == 0);
}

// The NULs and line ends of a text in one pass, sixteen bytes at a time where the
// processor has SSE2 (every x86-64 one): a 10 MB file is scanned in about a millisecond,
// so finding the coding adds next to nothing to an open.
struct Census {
  bool nul = false;
  LineEndCounts ends;
};
// Bits set in a mask that has few of them (a block of text holds a break or two), without
// the library call that std::popcount becomes on processors before POPCNT.
std::size_t SparseBits(unsigned mask) {
  std::size_t n = 0;
  for (; mask != 0; mask &= mask - 1) ++n;
  return n;
}

Census TakeCensus(std::string_view bytes) {
  std::size_t crs = 0, lfs = 0, pairs = 0;
  bool nul = false;
  const char* p = bytes.data();
  std::size_t n = bytes.size(), i = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    unsigned crm = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
    unsigned lfm = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    nul |= _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)) != 0;
    if ((crm | lfm) == 0) continue;
    crs += SparseBits(crm);
    lfs += SparseBits(lfm);
    // A CR LF: the LF one bit above its CR, or first here after a CR ending the last block.
    pairs += SparseBits(crm & (lfm >> 1));
    if ((lfm & 1) && i > 0 && p[i - 1] == '\r') ++pairs;
  }
#endif
  for (; i < n; ++i) {
    if (p[i] == '\r') {
      ++crs;
    } else if (p[i] == '\n') {
      ++lfs;
      if (i > 0 && p[i - 1] == '\r') ++pairs;
    } else if (p[i] == '\0') {
      nul = true;
    }
  }
  return {nul, {pairs, crs - pairs, lfs - pairs}};
}

}  // namespace

Encoding GuessEncoding(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return Encoding::kUtf8;
  EucReading euc = ReadAsEuc(bytes);
  if (!euc.valid) return Encoding::kShiftJis;
  if (!IsValidShiftJis(bytes)) return Encoding::kEucJp;
  // Both read: EUC-JP only when it gives prose (kana and punctuation), not the runs of
  // half-width katakana that the same bytes are in Shift-JIS.
  return euc.kana > 0 && euc.kana * 4 >= euc.pairs ? Encoding::kEucJp : Encoding::kShiftJis;
}

std::string EncodingName(Encoding encoding, bool bom) {
  switch (encoding) {
    case Encoding::kUtf8:
      return bom ? "UTF-8 BOM" : "UTF-8";
    case Encoding::kEucJp:
      return "EUC";
    case Encoding::kIso2022Jp:
      return "JIS";
    case Encoding::kShiftJis:
      break;
  }
  return "SJIS";
}

const char* LineEndName(LineEnd line_end) {
  return line_end == LineEnd::kLf ? "LF" : line_end == LineEnd::kCr ? "CR" : "CRLF";
}

std::string_view LineEndBytes(LineEnd line_end) {
  return line_end == LineEnd::kLf ? "\n" : line_end == LineEnd::kCr ? "\r" : "\r\n";
}

std::string CodingName(const FileCoding& coding) {
  return EncodingName(coding.encoding, coding.bom) + " " + LineEndName(coding.line_end);
}

bool ParseCoding(std::string_view encoding_name, std::string_view line_end_name, FileCoding& coding) {
  FileCoding parsed;
  bool found = false;
  for (Encoding encoding : {Encoding::kShiftJis, Encoding::kUtf8, Encoding::kEucJp, Encoding::kIso2022Jp}) {
    for (bool bom : {false, true}) {
      if ((bom && encoding != Encoding::kUtf8) || EncodingName(encoding, bom) != encoding_name) continue;
      parsed.encoding = encoding;
      parsed.bom = bom;
      found = true;
    }
  }
  for (LineEnd line_end : {LineEnd::kCrLf, LineEnd::kLf, LineEnd::kCr}) {
    if (LineEndName(line_end) != line_end_name) continue;
    parsed.line_end = line_end;
    if (found) coding = parsed;
    return found;
  }
  return false;
}

bool ParseCodingName(std::string_view name, FileCoding& coding) {
  std::size_t blank = name.rfind(' ');
  return blank != std::string_view::npos && ParseCoding(name.substr(0, blank), name.substr(blank + 1), coding);
}

bool LineEndCounts::mixed() const { return (crlf > 0) + (cr > 0) + (lf > 0) > 1; }

LineEnd LineEndCounts::Majority(LineEnd fallback) const {
  if (crlf == 0 && cr == 0 && lf == 0) return fallback;
  if (crlf >= cr && crlf >= lf) return LineEnd::kCrLf;
  return lf >= cr ? LineEnd::kLf : LineEnd::kCr;
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* end = p + bytes.size();
  while (p < end) {
    unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    // The common case of Japanese text first: three bytes, no range rules to mind.
    if ((c & 0xF0) == 0xE0 && c != 0xE0 && c != 0xED && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
        (p[2] & 0xC0) == 0x80) {
      p += 3;
      continue;
    }
    Utf8Char read = ReadUtf8(p, end);
    if (read.length == 0) return false;
    p += read.length;
  }
  return true;
}

bool IsValidEucJp(std::string_view bytes) { return ReadAsEuc(bytes).valid; }

// Whether every byte is part of a Shift-JIS character (a lead byte has its trail byte).
bool IsValidShiftJis(std::string_view bytes) {
  for (std::size_t i = SkipAscii(bytes, 0); i < bytes.size(); i = SkipAscii(bytes, i)) {
    unsigned char c = At(bytes, i);
    if (InRange(c, 0xA1, 0xDF)) {
      ++i;
    } else if ((InRange(c, 0x81, 0x9F) || InRange(c, 0xE0, 0xFC)) && i + 1 < bytes.size() &&
               InRange(At(bytes, i + 1), 0x40, 0xFC) && At(bytes, i + 1) != 0x7F) {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

DetectedCoding DetectCoding(std::string_view bytes, LineEnd line_end_default) {
  DetectedCoding detected = DetectLayout(bytes, line_end_default);
  if (detected.needs_guess) detected.coding.encoding = GuessEncoding(bytes);
  return detected;
}

DetectedCoding DetectLayout(std::string_view bytes, LineEnd line_end_default) {
  DetectedCoding detected;
  if (LooksLikeUtf16(bytes)) {
    detected.not_text = NotText::kUtf16;
    return detected;
  }
  Census census = TakeCensus(bytes);
  if (census.nul) {
    detected.not_text = NotText::kBinary;
    return detected;
  }
  FileCoding& coding = detected.coding;
  if (bytes.starts_with("\xEF\xBB\xBF") && IsValidUtf8(bytes.substr(3))) {
    coding.encoding = Encoding::kUtf8;
    coding.bom = true;
  } else if (SkipAscii(bytes, 0) < bytes.size()) {
    detected.needs_guess = true;
  } else if (HasJisDesignation(bytes)) {
    coding.encoding = Encoding::kIso2022Jp;
  }
  coding.line_end = census.ends.Majority(line_end_default);
  detected.mixed_line_ends = census.ends.mixed();
  return detected;
}

}  // namespace quillet
