// command.db: which lines are entries and what each field of a line becomes.
#include "aids/command_db.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(CommandDbTest, EachLineButCommentsIsOneEntryOfFourFields) {
  auto entries = ParseCommandDb(
      "%% 見出し\r\n"
      "section,,見出し,節の見出しを出力\r\n"
      "\r\n"
      "alpha,a,数式,ギリシャ文字α,小文字\n"
      " %% not a comment\r"
      "表\n"
      "%%\r\n"
      "kanjiskip,x,和文");
  struct Row { const char* name; const char* field2; const char* kind; const char* description; } rows[] = {
      {"section", "", "見出し", "節の見出しを出力"},
      {"", "", "", ""},  // an empty line is an entry too
      {"alpha", "a", "数式", "ギリシャ文字α"},  // the rest after a fourth comma is ignored
      {" %% not a comment", "", "", ""},
      {"表", "", "", ""},
      {"kanjiskip", "x", "和文", ""},
  };
  ASSERT_EQ(entries.size(), std::size(rows));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].name, rows[i].name) << i;
    EXPECT_EQ(entries[i].field2, rows[i].field2) << i;
    EXPECT_EQ(entries[i].kind, rows[i].kind) << i;
    EXPECT_EQ(entries[i].description, rows[i].description) << i;
  }
}

TEST(CommandDbTest, LongNamesAreCutAtACharacterAndKindsSortByBytes) {
  std::string name(997, 'a');
  auto entries = ParseCommandDb(name + "表表,,k\r\n");  // 1,001 bytes, a character across 998
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, name);
  EXPECT_EQ(entries[0].kind, "k");
  CommandEntry latin{"", "", "Z", ""}, kana{"", "", "和文", ""}, lower{"", "", "a", ""};
  EXPECT_TRUE(KindBefore(latin, lower));
  EXPECT_TRUE(KindBefore(lower, kana));  // lead bytes above 0x7F come last
  EXPECT_FALSE(KindBefore(kana, kana));
}

}  // namespace
}  // namespace quillet
