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
      // Leading zeros never count against the size, as the platform's reader takes them.
      {"00000000001", 7, 1}, {"+00000000007", 0, 7}, {"-00000000005", 7, -5}, {"0x00000000F", 7, 15},
      {"000000000002147483647", 0, 2147483647}, {"000000000002147483648", 7, 7}, {"-2147483649", 7, 7},
      {"0x000000000FFFFFFFF", 7, -1}, {"0x0000000100000000", 7, 7},
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

TEST(DosTimeTest, AgesOrderAsTheirTimesInTwoSecondSlotsAndMissingFilesAreOldest) {
  auto age = [](int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return PackDosDateTime({y, mo, d, h, mi, s}); };
  struct Row { const char* what; std::int32_t a, b; int sign; } rows[] = {
      {"same slot", age(2026, 12, 7, 10, 30, 20), age(2026, 12, 7, 10, 30, 21), 0},
      {"next slot", age(2026, 12, 7, 10, 30, 20), age(2026, 12, 7, 10, 30, 22), -1},
      {"next day", age(2026, 12, 8), age(2026, 12, 7, 23, 59, 59), 1},
      {"into 2044", age(2044, 1, 1), age(2043, 12, 31, 23, 59, 58), 1},
      {"last time", age(2107, 12, 31, 23, 59, 58), age(2044, 1, 1), 1},
      {"file vs missing", age(2026, 12, 7), kMissingFileAge, 1},
      {"2044 file vs missing", age(2044, 1, 1), kMissingFileAge, 1},
      {"last time vs missing", age(2107, 12, 31, 23, 59, 58), kMissingFileAge, 1},
      {"missing vs missing", kMissingFileAge, kMissingFileAge, 0},
      {"before 1980", age(1979, 6, 1), age(1980, 1, 1), 0},
      {"after 2107", age(2108, 1, 1), age(2107, 12, 31, 23, 59, 58), 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(CompareFileAge(r.a, r.b), r.sign) << r.what;
    EXPECT_EQ(CompareFileAge(r.b, r.a), -r.sign) << r.what;
  }
  // The platform's layout: 2026-12-07 = (46 << 9) | (12 << 5) | 7 high, 10:30:20 low.
  auto packed = static_cast<std::uint32_t>(age(2026, 12, 7, 10, 30, 20));
  EXPECT_EQ(packed, (((46u << 9) | (12u << 5) | 7u) << 16) | (10u << 11) | (30u << 5) | 10u);
}

}  // namespace
}  // namespace quillet
