#include "editor/foreign_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

// The table gives 𠮷 0xF040 and 😀 0xF041. "を" is 0x82 0xF0: with "@" (0x40) after it, a
// scan of bytes instead of characters would find 𠮷's code in it.
class ForeignTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(chars_.CodeFor(0x20BB7), 0xF040);
    ASSERT_EQ(chars_.CodeFor(0x1F600), 0xF041);
  }
  ForeignChars chars_;
};

TEST_F(ForeignTextTest, PlainRunsEndAtTabsAndTheTablesCharacters) {
  struct Row { std::string text; std::size_t from, end; bool table; } rows[] = {
      {"abc", 0, 3, true},
      {"a\tb", 0, 1, true},
      {"a\tb", 2, 3, true},
      {"aん\xF0\x40" "b", 0, 3, true},
      {"を@", 0, 3, true},
      {"を@\xF0\x41", 0, 3, true},
      {"\xF0\x42x", 0, 3, true},          // a code the table has not given
      {"\x82\t", 0, 1, true},             // a lone lead byte before a tab
      {"x\xF0", 0, 2, true},              // a lead byte cut off at the end
      {"\xF0\x40\tb", 0, 2, false},       // no table: only tabs end a run
  };
  ForeignChars none;
  for (const auto& r : rows) {
    EXPECT_EQ(PlainRunEnd(r.text, r.from, r.table ? chars_ : none), r.end) << r.text << " from " << r.from;
  }
}

TEST_F(ForeignTextTest, OtherProgramsGetAQuestionMarkForEachOfTheTablesCharacters) {
  struct Row { std::string text, expected; } rows[] = {
      {"a\xF0\x40" "b\xF0\x41", "a?b?"},
      {"表\xF0\x40\r\n", "表?\r\n"},
      {"を@", "を@"},
      {"\xF0\x42", "\xF0\x42"},          // not the table's: kept as it is
      {"x\xF0", "x\xF0"},
  };
  for (const auto& r : rows) EXPECT_EQ(ShiftJisForOthers(r.text, chars_), r.expected) << r.text;
  EXPECT_EQ(ShiftJisForOthers("\xF0\x40", ForeignChars{}), "\xF0\x40");
}

}  // namespace
}  // namespace quillet
