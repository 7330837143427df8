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

TEST(CommandDbTest, TypedLettersFindTheNextCommandThatBeginsWithThem) {
  std::vector<CommandEntry> list;
  for (const char* name : {"section", "subsection", "subsubsection", "Subset", "textbf"}) list.push_back({name, "", "", ""});
  struct Row { const char* typed; std::size_t start; int found; } rows[] = {
      {"subs", 0, 1}, {"SUBS", 0, 1}, {"subs", 2, 2}, {"subset", 0, 3}, {"subse", 4, 1}, {"t", 0, 4}, {"s", 4, 0}, {"x", 0, -1}, {"", 0, -1},
      {"sectionx", 0, -1},
  };
  for (const auto& r : rows) EXPECT_EQ(FindCommandStartingWith(list, r.typed, r.start), r.found) << r.typed << " " << r.start;
}

TEST(CommandDbTest, TheMandatoryArgumentsComeWithTheirPlaceholders) {
  struct Row { const char* name; const char* form; const char* text; const char* selected; } rows[] = {
      {"subsection", "[短い見出し]{見出し}", "\\subsection{見出し}", "見出し"},
      {"frac", "{分子}{分母}", "\\frac{分子}{分母}", "分子"},
      {"sqrt", "[指数]{式}", "\\sqrt{式}", "式"},
      {"item", "", "\\item", ""},
      {"newline", "[]", "\\newline", ""},
      {"mbox", "{}{表}", "\\mbox{}{表}", "表"},        // an empty group has nothing to select
      {"x", "{ソ}", "\\x{ソ}", "ソ"},                  // a "}"-like trail byte (ソ is 0x83 0x5C)
      {"y", "{a{b}c}", "\\y{a{b}c}", "a{b}c"},         // nested braces stay whole
  };
  for (const auto& r : rows) {
    CommandInsertion in = WithArguments({r.name, r.form, "", ""});
    EXPECT_EQ(in.text, r.text) << r.name;
    EXPECT_EQ(in.text.substr(in.placeholder, in.placeholder_length), r.selected) << r.name;
  }
}

}  // namespace
}  // namespace quillet
