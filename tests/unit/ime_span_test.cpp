#include "core/ime_span.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/composition.h"
#include "iconv_code_page.h"

namespace quillet {
namespace {

TextBuffer Make(const std::string& text, std::size_t anchor, std::size_t caret) {
  TextBuffer b;
  b.SetText(text);
  b.Select(anchor, caret);
  return b;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// "ab 漢字かな" is line 0 (0..11); 表 (0x95 0x5C) has the trail byte of a backslash.
TEST(ImeSpanTest, ReconversionGivesTheSelectionOrTheWordAtTheCaretInsideItsLine) {
  const std::string text = "x\r\nab 漢字かな\r\n表\\b";
  const std::string long_line = "x" + Repeat("あ", 1000) + "   abc";
  ForeignChars none;
  struct Row { std::string text; std::size_t anchor, caret; std::optional<ImeSpan> want; } rows[] = {
      {text, 7, 7, ImeSpan{3, 14, 6, 10}},     // caret inside 漢字: the kanji
      {text, 6, 14, ImeSpan{3, 14, 6, 14}},    // a selection
      {text, 14, 6, ImeSpan{3, 14, 6, 14}},    // the same, made backwards
      {text, 3, 3, ImeSpan{3, 14, 3, 5}},      // line start: "ab"
      {text, 14, 14, ImeSpan{3, 14, 10, 14}},  // line end: the word before it
      {text, 5, 5, ImeSpan{3, 14, 5, 5}},      // on a blank: the input method picks
      {text, 16, 16, ImeSpan{16, 20, 16, 18}}, // 表 before "\"
      {text, 1, 8, ImeSpan{0, 14, 1, 8}},      // across a break: both lines
      {Repeat("あ", 5000), 5000, 5000, ImeSpan{3976, 6024, 5000, 5000}},  // the word is over the limit
      {long_line, 2007, 2007, ImeSpan{981, 2007, 2004, 2007}},  // cut at 980, inside an あ
      {Repeat("a", 5000), 0, 4097, std::nullopt},  // a selection over the limit
  };
  for (const Row& r : rows) {
    TextBuffer b = Make(r.text, r.anchor, r.caret);
    EXPECT_EQ(ReconversionSpan(b, none), r.want) << r.anchor << "-" << r.caret;
  }
}

TEST(ImeSpanTest, ADocumentsOwnCharacterIsNeverConvertedAndShowsAsGeta) {
  ForeignChars chars;
  ASSERT_EQ(chars.CodeFor(0x20BB7), 0xF040);
  const std::string text = "漢\xF0\x40字";
  EXPECT_EQ(ReconversionSpan(Make(text, 0, 6), chars), std::nullopt);
  EXPECT_EQ(ReconversionSpan(Make(text, 6, 6), chars), (ImeSpan{0, 6, 6, 6}));  // the word holds it
  EXPECT_EQ(ReconversionSpan(Make(text, 0, 2), chars), (ImeSpan{0, 6, 0, 2}));
  EXPECT_EQ(ImeText(Make(text, 0, 0), chars, 0, 6), "漢〓字");
  EXPECT_EQ(ImeText(Make("を@", 0, 0), chars, 0, 3), "を@");  // 0x82 0xF0 0x40 holds no code
}

TEST(ImeSpanTest, AConfirmedRangeIsTakenOnlyOnWholeCharactersInsideWhatWasShown) {
  TextBuffer b = Make("x\r\nab 漢字かな\r\n", 7, 7);
  ForeignChars none;
  ImeSpan shown{3, 14, 6, 10};
  struct Row { std::size_t offset, length; std::optional<ImeSpan> want; } rows[] = {
      {3, 2, ImeSpan{3, 14, 6, 8}},   // 漢 only
      {3, 8, ImeSpan{3, 14, 6, 14}},  // to the end
      {0, 0, ImeSpan{3, 14, 3, 3}},
      {4, 2, std::nullopt},           // starts inside 漢
      {3, 3, std::nullopt},           // ends inside 字
      {10, 2, std::nullopt},          // past what was shown
  };
  for (const Row& r : rows) EXPECT_EQ(ConfirmedSpan(b, none, shown, r.offset, r.length), r.want) << r.offset;
  EXPECT_EQ(ConfirmedSpan(Make("ab", 0, 0), none, shown, 3, 2), std::nullopt);  // the text has shrunk
}

TEST(ImeSpanTest, TheFeedIsTheLineRoundTheCaretWithNothingToConvert) {
  EXPECT_EQ(FeedSpan(Make("x\r\nab 漢字\r\ny", 6, 10)), (ImeSpan{3, 10, 6, 6}));
  EXPECT_EQ(FeedSpan(Make("", 0, 0)), (ImeSpan{0, 0, 0, 0}));
}

TEST(CompositionTest, ClausesAreUnderlinedByTheirAttributeAndApart) {
  Composition c;
  c.text = u"かんじへんかん";
  c.attrs = {2, 2, 1, 1, 1, 2, 2};
  c.clauses = {0, 2, 5, 7};
  c.cursor = 5;
  std::vector<UnderlineRun> want = {
      {0, 2, UnderlineStyle::kThin}, {2, 5, UnderlineStyle::kThick}, {5, 7, UnderlineStyle::kThin}};
  EXPECT_EQ(CompositionUnderlines(c), want);
  EXPECT_EQ(TargetStart(c), 2u);
  c.attrs = {2, 2, 2, 2};  // two converted clauses side by side stay two
  c.clauses = {0, 2, 4};
  c.text = u"漢字変換";
  want = {{0, 2, UnderlineStyle::kThin}, {2, 4, UnderlineStyle::kThin}};
  EXPECT_EQ(CompositionUnderlines(c), want);
  c.attrs = {};  // input: one dotted run; no target, so the start
  c.clauses = {};
  c.cursor = 3;
  want = {{0, 4, UnderlineStyle::kDotted}};
  EXPECT_EQ(CompositionUnderlines(c), want);
  EXPECT_EQ(TargetStart(c), 0u);
}

TEST(CompositionTest, AnAnsiOffsetCountsTwoBytesForDoubleByteCharactersAndOneForAQuestionMark) {
  const std::u16string text = u"aあ\U00020BB7b";
  struct Row { std::size_t offset, unit; } rows[] = {{0, 0}, {1, 1}, {3, 2}, {4, 4}, {5, 5}, {99, 5}};
  for (const Row& r : rows) EXPECT_EQ(UnitAtAnsiOffset(text, r.offset, IconvCodePage()), r.unit) << r.offset;
}

}  // namespace
}  // namespace quillet
