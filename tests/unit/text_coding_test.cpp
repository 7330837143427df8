// Files in every coding the program reads: found from their bytes, made into the
// editor's Shift-JIS text and written back byte for byte; edits change only their bytes.
#include <gtest/gtest.h>

#include <string>

#include "core/slice_encoder.h"
#include "core/text_decode.h"
#include "core/text_encode.h"
#include "core/text_encoding.h"
#include "core/unicode_text.h"
#include "tests/unit/iconv_code_page.h"

namespace quillet {
namespace {

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }
std::string Euc(const char8_t* text) { return Iconv(U8(text), "UTF-8", "EUC-JP"); }
std::string Jis(const char8_t* text) { return Iconv(U8(text), "UTF-8", "ISO-2022-JP"); }

std::string EditorText(const DecodedText& decoded) { return {decoded.text.data.get(), decoded.text.size}; }

// Where each line after the first starts.
std::vector<std::uint32_t> LineStarts(const std::string& text) {
  std::vector<std::uint32_t> starts;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
    starts.push_back(static_cast<std::uint32_t>(at + 2));
  }
  return starts;
}

DecodedText Decode(const std::string& bytes, const FileCoding& coding) {
  DecodedText decoded;
  DecodeText(WithoutBom(bytes, coding), coding.encoding, IconvCodePage(), decoded);
  return decoded;
}

// The bytes written, or "" (and a failure) when a character stopped the writing.
std::string Encode(const std::string& text, const FileCoding& coding, const ForeignChars& chars,
                   const JisLineForms* forms, Unholdable& bad) {
  std::string out;
  EncodeText(text, coding, IconvCodePage(), chars, forms, out, bad);
  return out;
}

std::string Encode(const std::string& text, const FileCoding& coding, const DecodedText& from) {
  Unholdable bad;
  std::string out = Encode(text, coding, from.chars, &from.jis_forms, bad);
  EXPECT_EQ(bad.line, 0u) << "column " << bad.column;
  return out;
}

constexpr FileCoding kSjisCrLf{Encoding::kShiftJis, false, LineEnd::kCrLf};

struct FileRow {
  const char* name;
  std::string bytes;
  FileCoding coding;
  // Typing "あ" (Shift-JIS 82 A0) at this byte offset of the editor's text gives these bytes.
  std::size_t type_at;
  std::string typed;
};

std::vector<FileRow> Files() {
  const FileCoding utf8_lf{Encoding::kUtf8, false, LineEnd::kLf}, utf8_bom{Encoding::kUtf8, true, LineEnd::kCrLf};
  const FileCoding euc_lf{Encoding::kEucJp, false, LineEnd::kLf}, jis_crlf{Encoding::kIso2022Jp, false, LineEnd::kCrLf};
  return {
      {"pure ASCII", "\\documentclass{article}\r\n\\begin{document}\r\n", kSjisCrLf, 0,
       "\x82\xA0\\documentclass{article}\r\n\\begin{document}\r\n"},
      {"Shift-JIS with 0x5C trails and a lone lead byte", "表ソ\r\nabc\x82\r\nxyz", kSjisCrLf, 4,
       "表ソ\x82\xA0\r\nabc\x82\r\nxyz"},
      {"Shift-JIS half-width katakana only (reads as EUC-JP too)", "ﾃﾞｰﾀ ﾌｧｲﾙ\r\n", kSjisCrLf, 0,
       "\x82\xA0ﾃﾞｰﾀ ﾌｧｲﾙ\r\n"},
      {"Shift-JIS gaiji of the user-defined area", "\xF0\x40\xF9\xFC\r\n", kSjisCrLf, 2,
       "\xF0\x40\x82\xA0\xF9\xFC\r\n"},
      {"UTF-8 without BOM, LF", U8(u8"①髙𠮷😀表\n〜∥−¢£¬—\n"), utf8_lf, 0, U8(u8"あ①髙𠮷😀表\n〜∥−¢£¬—\n")},
      {"UTF-8 with BOM, CR LF", U8(u8"\uFEFF見出し\r\n本文\r\n"), utf8_bom, 6, U8(u8"\uFEFF見出しあ\r\n本文\r\n")},
      {"EUC-JP with a JIS X 0212 character", Euc(u8"日本語の丂テキスト\n"), euc_lf, 4,
       Euc(u8"日本あ語の丂テキスト\n")},
      {"ISO-2022-JP", Jis(u8"日本語\r\nabc\r\nかな\r\n"), jis_crlf, 0, Jis(u8"あ日本語\r\nabc\r\nかな\r\n")},
      {"CR only", "a\rb\r", {Encoding::kShiftJis, false, LineEnd::kCr}, 3, "a\r\x82\xA0\x62\r"},
  };
}

TEST(TextCodingTest, FilesAreFoundReadAndWrittenBackByteForByte) {
  for (const FileRow& row : Files()) {
    SCOPED_TRACE(row.name);
    DetectedCoding detected = DetectCoding(row.bytes, LineEnd::kCrLf);
    EXPECT_EQ(detected.not_text, NotText::kNone);
    EXPECT_FALSE(detected.mixed_line_ends);
    EXPECT_EQ(CodingName(detected.coding), CodingName(row.coding));
    DecodedText decoded = Decode(row.bytes, row.coding);
    std::string text = EditorText(decoded);
    if (decoded.text.lines_counted) {
      EXPECT_EQ(decoded.text.line_starts, LineStarts(text));
    }
    EXPECT_EQ(Encode(text, row.coding, decoded), row.bytes);
    text.insert(row.type_at, "\x82\xA0");
    EXPECT_EQ(Encode(text, row.coding, decoded), row.typed);
  }
}

TEST(TextCodingTest, ATextInTwoPiecesIsWrittenAsTheWholeWhereverItIsSplit) {
  // The editor's gap may lie anywhere: between the bytes of a break, of a character, of
  // a document's own character; and the place of what a coding cannot hold counts over
  // both pieces.
  std::string bytes = U8(u8"表ソ𠮷\nabc\r\n");
  DecodedText decoded = Decode(bytes, {Encoding::kUtf8});
  std::string text = EditorText(decoded);
  for (FileCoding coding : {FileCoding{Encoding::kUtf8, true, LineEnd::kLf}, FileCoding{Encoding::kShiftJis}}) {
    std::string whole;
    Unholdable whole_bad;
    bool whole_ok = EncodeText(text, coding, IconvCodePage(), decoded.chars, nullptr, whole, whole_bad);
    for (std::size_t split = 0; split <= text.size(); ++split) {
      BlockWriter out(1);
      Unholdable bad;
      bool ok = EncodeText(std::string_view(text).substr(0, split), std::string_view(text).substr(split), coding,
                           IconvCodePage(), decoded.chars, nullptr, out, bad);
      TextBlock block = out.Finish();
      EXPECT_EQ(ok, whole_ok) << split;
      if (ok) {
        EXPECT_EQ(std::string(block.data.get(), block.size), whole) << split;
      } else {
        EXPECT_EQ(std::make_pair(bad.line, bad.column), std::make_pair(whole_bad.line, whole_bad.column)) << split;
      }
    }
  }
}

TEST(TextCodingTest, SlicesMadeOneAfterAnotherAreTheWholeText) {
  // Every slice size over a text split round the gap anywhere; slices end at breaks, the
  // BOM comes once, and what stops the making is placed in the whole text.
  std::string bytes = U8(u8"表ソ\nabc\n𠮷x\n\nend");
  DecodedText decoded = Decode(bytes, {Encoding::kUtf8});
  std::string text = EditorText(decoded);
  for (FileCoding coding : {FileCoding{Encoding::kUtf8, true, LineEnd::kLf}, FileCoding{Encoding::kEucJp}}) {
    std::string whole;
    Unholdable whole_bad;
    bool whole_ok = EncodeText(text, coding, IconvCodePage(), decoded.chars, nullptr, whole, whole_bad);
    for (std::size_t slice = 1; slice <= text.size() + 1; ++slice) {
      for (std::size_t split : {std::size_t{0}, std::size_t{3}, text.size()}) {
        SliceEncoder encoder(std::string_view(text).substr(0, split), std::string_view(text).substr(split), coding,
                             IconvCodePage(), decoded.chars, nullptr, slice);
        std::string made;
        std::string_view piece;
        bool ok = true;
        while ((ok = encoder.Next(piece)) && !piece.empty()) made.append(piece);
        EXPECT_EQ(ok, whole_ok) << slice << "/" << split;
        if (ok) {
          EXPECT_EQ(made, whole) << slice << "/" << split;
        } else {
          EXPECT_EQ(encoder.bad().line, whole_bad.line) << slice << "/" << split;
          EXPECT_EQ(encoder.bad().column, whole_bad.column) << slice << "/" << split;
        }
      }
    }
  }
}

TEST(TextCodingTest, WhatIsNoTextOrMixedIsTold) {
  struct Row {
    const char* name;
    std::string bytes;
    NotText not_text;
    bool mixed;
    const char* coding;
  } rows[] = {
      {"UTF-16 with its mark", std::string("\xFF\xFE" "a\0b\0", 6), NotText::kUtf16, false, ""},
      {"UTF-16 without a mark", std::string("a\0b\0c\0\r\0\n\0", 10), NotText::kUtf16, false, ""},
      {"binary", std::string("\x7F" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20), NotText::kBinary, false, ""},
      {"mixed line ends, CR LF most", "a\r\nb\nc\r\nd\r\n", NotText::kNone, true, "SJIS CRLF"},
      {"mixed line ends, LF most", "a\nb\nc\r\n", NotText::kNone, true, "SJIS LF"},
      {"no line end takes the default", "abc", NotText::kNone, false, "SJIS LF"},
      {"empty", "", NotText::kNone, false, "SJIS LF"},
      {"UTF-8 mark before bytes that are not UTF-8", "\xEF\xBB\xBF\x82\xA0", NotText::kNone, false, "SJIS LF"},
  };
  for (const Row& row : rows) {
    DetectedCoding detected = DetectCoding(row.bytes, LineEnd::kLf);
    EXPECT_EQ(detected.not_text, row.not_text) << row.name;
    EXPECT_EQ(detected.mixed_line_ends, row.mixed) << row.name;
    if (row.not_text == NotText::kNone) {
      EXPECT_EQ(CodingName(detected.coding), row.coding) << row.name;
    }
  }
}

TEST(TextCodingTest, CodingNamesReadBackAsTheCodingsTheyName) {
  for (Encoding encoding : {Encoding::kShiftJis, Encoding::kUtf8, Encoding::kEucJp, Encoding::kIso2022Jp}) {
    for (LineEnd line_end : {LineEnd::kCrLf, LineEnd::kLf, LineEnd::kCr}) {
      FileCoding coding{encoding, encoding == Encoding::kUtf8, line_end}, parsed;
      EXPECT_TRUE(ParseCoding(EncodingName(encoding, coding.bom), LineEndName(line_end), parsed));
      EXPECT_EQ(parsed, coding);
      FileCoding whole;
      EXPECT_TRUE(ParseCodingName(CodingName(coding), whole));
      EXPECT_EQ(whole, coding);
    }
  }
  FileCoding kept{Encoding::kEucJp, false, LineEnd::kLf};
  EXPECT_FALSE(ParseCoding("UTF-16", "CRLF", kept));
  EXPECT_FALSE(ParseCoding("SJIS", "CRCR", kept));
  EXPECT_EQ(kept, (FileCoding{Encoding::kEucJp, false, LineEnd::kLf}));
}

TEST(TextCodingTest, ShiftJisIsNeverTakenForAnotherEncoding) {
  // Real Shift-JIS texts, the program's own messages among them (half-width katakana,
  // which are valid EUC-JP bytes).
  const char* texts[] = {
      "ﾌｧｲﾙ", "ｴﾗｰ", "ﾃﾞｰﾀﾍﾞｰｽ", "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを作成できません。", "\\section{表とソース}\r\n",
      "ﾌﾟﾛﾊﾟﾃｨ(&R)", "漢字", "%% ｺﾒﾝﾄ\r\n\\begin{document}\r\n", "\x82\r\n",
  };
  for (const char* text : texts) {
    EXPECT_EQ(DetectCoding(text, LineEnd::kCrLf).coding.encoding, Encoding::kShiftJis) << text;
  }
}

TEST(TextCodingTest, UnicodeGoesIntoShiftJisOnlyWhereItComesBackTheSame) {
  // WAVE DASH and friends have a best-fit code (0x8160 ...) that converts back to another
  // character: they are kept as characters of their own. FULLWIDTH TILDE has the code.
  struct Row {
    const char8_t* text;
    bool own_code;
  } rows[] = {
      {u8"〜", false}, {u8"‖", false}, {u8"−", false}, {u8"¢", false}, {u8"£", false}, {u8"¬", false},
      {u8"—", false},  {u8"～", true},  {u8"∥", true},  {u8"－", true},  {u8"表", true},  {u8"髙", true},
      {u8"\uE000", false},
  };
  for (const Row& row : rows) {
    DecodedText decoded = Decode(U8(row.text), {Encoding::kUtf8});
    std::string text = EditorText(decoded);
    ASSERT_EQ(text.size(), 2u) << U8(row.text);
    EXPECT_EQ(ForeignChars::IsAreaCode(text[0], text[1]), !row.own_code) << U8(row.text);
    EXPECT_EQ(Encode(text, {Encoding::kUtf8}, decoded), U8(row.text));
  }
}

TEST(TextCodingTest, ACharacterTheTargetCannotHoldIsNamedWithItsPlace) {
  DecodedText decoded = Decode(U8(u8"abc\n表髙𠮷\n"), {Encoding::kUtf8});
  std::string text = EditorText(decoded);
  struct Row {
    Encoding encoding;
    std::size_t column;
    const char* message;
  } rows[] = {
      {Encoding::kShiftJis, 5, "2 行 5 桁目の文字 U+20BB7 は Shift-JIS で保存できません。"},
      {Encoding::kEucJp, 3, "2 行 3 桁目の文字「髙」(U+9AD9) は EUC-JP で保存できません。"},
      {Encoding::kIso2022Jp, 3, "2 行 3 桁目の文字「髙」(U+9AD9) は JIS (ISO-2022-JP) で保存できません。"},
  };
  for (const Row& row : rows) {
    Unholdable bad;
    EXPECT_EQ(Encode(text, {row.encoding}, decoded.chars, nullptr, bad), "");
    EXPECT_EQ(bad.line, 2u);
    EXPECT_EQ(bad.column, row.column);
    EXPECT_EQ(UnholdableText(bad, row.encoding, IconvCodePage()), row.message);
  }
  // Save As Shift-JIS of a text Shift-JIS holds: the 0x5C trail byte of 表 as it should be.
  DecodedText plain = Decode(U8(u8"表ソ\n"), {Encoding::kUtf8});
  EXPECT_EQ(Encode(EditorText(plain), {Encoding::kShiftJis, false, LineEnd::kCrLf}, plain), "表ソ\r\n");
}

TEST(TextCodingTest, BytesThatAreNoCharacterAreKeptWhateverTheyAreReadAs) {
  // A Shift-JIS file reopened as UTF-8 or EUC-JP, and an ISO-2022-JP file with eight-bit
  // bytes and an unknown escape: nothing is lost.
  std::string sjis = "表ソ\x82\r\nﾃﾞｰﾀ\r\n\x1b$Bxyz";
  for (Encoding encoding : {Encoding::kUtf8, Encoding::kEucJp, Encoding::kIso2022Jp}) {
    FileCoding coding{encoding, false, LineEnd::kCrLf};
    DecodedText decoded = Decode(sjis, coding);
    EXPECT_EQ(Encode(EditorText(decoded), coding, decoded), sjis) << EncodingName(encoding, false);
  }
}

TEST(TextCodingTest, IsoLinesKeepTheirOwnEscapesAndEditedLinesTakeTheUsualOnes) {
  // Lines that stay in JIS X 0208 over their end, JIS-Roman, 1978 kanji: all as they were;
  // the edited second line is written in the usual form, and its neighbours are not.
  std::string file = "\x1b$@F|\x1b(J abc\r\n\x1b$B$\"\r\n$$\x1b(B\r\nend";
  FileCoding coding{Encoding::kIso2022Jp, false, LineEnd::kCrLf};
  DecodedText decoded = Decode(file, coding);
  std::string text = EditorText(decoded);
  EXPECT_EQ(text, "日 abc\r\nあ\r\nい\r\nend");
  EXPECT_EQ(Encode(text, coding, decoded), file);
  text.replace(text.find("あ"), 2, "ア");
  EXPECT_EQ(Encode(text, coding, decoded), "\x1b$@F|\x1b(J abc\r\n\x1b$B%\"\x1b(B\r\n\x1b$B$$\x1b(B\r\nend");
}

TEST(TextCodingTest, ADocumentWithMoreForeignCharactersThanCodesCountsTheRest) {
  std::string bytes;
  for (char32_t c = 0x20000; c < 0x20000 + ForeignChars::kCapacity + 3; ++c) {
    bytes += static_cast<char>(0xF0 | c >> 18);
    bytes += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    bytes += static_cast<char>(0x80 | (c & 0x3F));
  }
  DecodedText decoded = Decode(bytes, {Encoding::kUtf8});
  EXPECT_EQ(decoded.chars.size(), ForeignChars::kCapacity);
  EXPECT_EQ(decoded.chars.overflow(), 3u);
  EXPECT_EQ(EditorText(decoded).substr(2 * ForeignChars::kCapacity), "〓〓〓");
}

TEST(TextCodingTest, UnicodeTextGoesInAndOutOfTheEditorsCodes) {
  // The clipboard's road: a UTF-8 document's 𠮷 comes out as its surrogate pair and goes
  // into another UTF-8 document under that document's own code; a Shift-JIS document
  // refuses it and takes what Shift-JIS has.
  DecodedText from = Decode(U8(u8"a𠮷表\n"), {Encoding::kUtf8});
  std::u16string wide = Utf16FromEditorText(EditorText(from), IconvCodePage(), &from.chars);
  EXPECT_EQ(wide, u"a\U00020BB7\u8868\r\n");
  ForeignChars other;
  other.CodeFor(U'♥');
  std::string text;
  char32_t refused = 0;
  ASSERT_TRUE(EditorTextFromUtf16(wide, IconvCodePage(), &other, text, refused));
  EXPECT_EQ(text, "a\xF0\x41表\r\n");
  EXPECT_EQ(other.CharOf(0xF041), U'\U00020BB7');
  EXPECT_FALSE(EditorTextFromUtf16(wide, IconvCodePage(), nullptr, text, refused));
  EXPECT_EQ(refused, U'\U00020BB7');
  ASSERT_TRUE(EditorTextFromUtf16(u"表ソ～", IconvCodePage(), nullptr, text, refused));
  EXPECT_EQ(text, "表ソ～");
}

}  // namespace
}  // namespace quillet
