#include "core/profile_values.h"

#include <gtest/gtest.h>

#include "core/dos_time.h"

namespace quillet {
namespace {

TEST(ProfileValuesTest, IntegersAreDecimalOrZeroXHex) {
  struct Row { const char* text; int def; int expected; } rows[] = {
      {"5", 7, 5},          {"-12", 7, -12},      {"+3", 7, 3},         {"0x0A", 7, 10},
      {"0X1f", 7, 31},      {"0x", 7, 7},         {"0xG", 7, 7},        {"", 7, 7},
      {"12abc", 7, 7},      {" 5", 7, 7},         {"2147483647", 0, 2147483647},
      {"2147483648", 7, 7}, {"-2147483648", 0, -2147483648LL}, {"99999999999", 7, 7},
      {"0xFFFFFFFF", 7, -1}, {"0x100000000", 7, 7}, {"-", 7, 7},       {"0", 7, 0},
      {"\x95\x5C", 7, 7},
  };
  for (auto r : rows) EXPECT_EQ(ParseProfileInt(r.text, r.def), r.expected) << r.text;
}

TEST(ProfileValuesTest, BooleansAreNonZeroIntegers) {
  EXPECT_TRUE(ParseProfileBool("2", false));   // written back as "1"
  EXPECT_EQ(FormatProfileBool(ParseProfileBool("2", false)), "1");
  EXPECT_FALSE(ParseProfileBool("0", true));
  EXPECT_TRUE(ParseProfileBool("yes", true));
  EXPECT_FALSE(ParseProfileBool("yes", false));
  EXPECT_TRUE(ParseProfileBool("-1", false));
  EXPECT_FALSE(ParseProfileBool("", false));
}

TEST(ProfileValuesTest, StringsAreCutAt1023BytesOnACharacterBoundary) {
  std::string ascii(2000, 'a');
  EXPECT_EQ(CutProfileString(ascii).size(), 1023u);
  std::string exact(1023, 'b');
  EXPECT_EQ(CutProfileString(exact), exact);
  std::string japanese;
  for (int i = 0; i < 600; ++i) japanese += "表";
  std::string cut = CutProfileString(japanese);
  EXPECT_EQ(cut.size(), 1022u);  // 511 whole characters; no dangling lead byte
  EXPECT_EQ(cut.substr(cut.size() - 2), "表");
}

TEST(ProfileValuesTest, FontSizeTextDefaultsToTen) {
  EXPECT_EQ(ParseFontSize("12"), 12);
  EXPECT_EQ(ParseFontSize("big"), 10);
  EXPECT_EQ(ParseFontSize(""), 10);
  EXPECT_EQ(ParseFontSize("50"), 50);
  EXPECT_EQ(Clamp(0, 1, 1440), 1);
  EXPECT_EQ(Clamp(5000, 1, 1440), 1440);
}

TEST(DosTimeTest, PackedAgesCompareAsSignedIntegersInTwoSecondSlots) {
  std::int32_t a = PackDosDateTime({2026, 12, 7, 10, 30, 20});
  std::int32_t same_slot = PackDosDateTime({2026, 12, 7, 10, 30, 21});
  std::int32_t later = PackDosDateTime({2026, 12, 7, 10, 30, 22});
  std::int32_t next_day = PackDosDateTime({2026, 12, 8, 0, 0, 0});
  EXPECT_EQ(CompareFileAge(a, same_slot), 0);
  EXPECT_LT(CompareFileAge(a, later), 0);
  EXPECT_GT(CompareFileAge(next_day, later), 0);
  EXPECT_GT(CompareFileAge(a, kMissingFileAge), 0);  // any file is newer than a missing one
  EXPECT_LT(CompareFileAge(kMissingFileAge, a), 0);
  // Date in the high word: 2026-12-07 = (46 << 9) | (12 << 5) | 7.
  EXPECT_EQ(static_cast<std::uint32_t>(a) >> 16, (46u << 9) | (12u << 5) | 7u);
  EXPECT_EQ(static_cast<std::uint32_t>(a) & 0xFFFF, (10u << 11) | (30u << 5) | 10u);
}

}  // namespace
}  // namespace quillet
