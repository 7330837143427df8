// The texts of find and replace and the number rules of the jump to a line.
#include <gtest/gtest.h>

#include "document/find_text.h"
#include "document/jump_line.h"

namespace quillet {
namespace {

TEST(FindTextTest, DialogTextsStopAt255BytesOnACharacterBoundary) {
  std::string ascii(300, 'a');
  std::string kana;  // "ア" is two bytes: 127 of them and a half would make 255
  for (int i = 0; i < 150; ++i) kana += "ア";
  struct Row { std::string in; std::size_t size; } rows[] = {
      {"abc", 3},
      {ascii, 255},
      {kana, 254},
      {"a" + kana, 255},
      {"ab\x83", 2},  // a lead byte with nothing after it, as a cut box text may end
      {"表", 2},
  };
  for (const auto& r : rows) EXPECT_EQ(DialogFindText(r.in), r.in.substr(0, r.size)) << r.in.size();
  EXPECT_EQ(NotFoundMessage("ア"), "文字列 'ア' は見つかりませんでした。");
  EXPECT_EQ(ReplacedMessage(0), "0個の文字列を置換しました。");
}

TEST(JumpLineTest, TypedNumbersReadAsTheDialogReadsThem) {
  struct Row { const char* text; int number; } rows[] = {
      {"12", 12},   {" +3", 3},   {"-1", -1},   {"$1F", 31},  {"$1f", 31},  {"-$10", -16}, {"  7", 7},
      {"", 0},      {"   ", 0},   {"abc", 0},   {"12a", 0},   {"1 2", 0},   {"7 ", 0},     {"$", 0},
      {"+", 0},     {"+-1", 0},   {"0x1F", 0},  {"$G", 0},    {"2147483647", 2147483647},  {"2147483648", 0},
      {"１２", 0},  // full-width digits are no number
  };
  for (auto r : rows) EXPECT_EQ(ReadLineNumber(r.text), r.number) << "'" << r.text << "'";
}

TEST(JumpLineTest, TheHighestLineCountsTheLineAfterTheLastBreakOnce) {
  // "" has one empty line; "a\r\nb\r\nc\r\n" four lines, the last empty; "a\r\nb\r\nc" three.
  EXPECT_EQ(HighestJumpLine(1, true), 1);
  EXPECT_EQ(HighestJumpLine(4, true), 4);
  EXPECT_EQ(HighestJumpLine(3, false), 4);
  EXPECT_EQ(JumpRangeText(4), "移動先(1～4)");
}

}  // namespace
}  // namespace quillet
