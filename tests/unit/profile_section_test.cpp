#include "core/profile_section.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quillet {
namespace {

std::string Entries(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* line : lines) out += std::string(line) + '\0';
  return out;
}

TEST(ProfileSectionTest, KeysAreFoundAsTheKeyReadFindsThem) {
  const ProfileSection section(Entries({
      "Font=ＭＳ ゴシック", "  FontSize  =  12  ", "; a comment", "NoValue", "Path=C:\\a=b",
      "Quoted=\"  spaced  \"", "Single='x'", "Half=\"open", "Mixed=\"x'", "Empty=", "Twice=first",
      "TWICE=second", "ｲﾝﾌﾟﾚｽ  WpvTeX=C:\\tex\\wpvtex.exe", "\x83\x41=katakana a", "Bare", "bare=later",
  }));
  struct Row {
    const char* key;
    std::optional<std::string> value;
  } rows[] = {
      {"Font", "ＭＳ ゴシック"},
      {"font", "ＭＳ ゴシック"},            // ASCII letters without case
      {"FontSize", "12"},                   // blanks around key and value do not count
      {"Path", "C:\\a=b"},                  // the first "=" ends the key
      {"Quoted", "  spaced  "},             // matching quotes go, the blanks inside stay
      {"Single", "x"},
      {"Half", "\"open"},                   // unmatched quotes stay
      {"Mixed", "\"x'"},
      {"Empty", ""},
      {"Twice", "first"},                   // the first of two entries
      {"NoValue", std::nullopt},            // a line without "=" has no value
      {"BARE", std::nullopt},               // ... and hides a later line of its name
      {"; a comment", std::nullopt},
      {"Missing", std::nullopt},
      {"ｲﾝﾌﾟﾚｽ  WpvTeX", "C:\\tex\\wpvtex.exe"},
      {"ｲﾝﾌﾟﾚｽ WpvTeX", std::nullopt},      // one blank less is another key
      {"\x83\x41", "katakana a"},
      {"\x83\x61", std::nullopt},           // a trail byte that looks like 'a' is not folded
  };
  for (const Row& row : rows) EXPECT_EQ(section.Find(row.key), row.value) << row.key;
}

TEST(ProfileSectionTest, AnEmptyReadHasNoKeys) {
  EXPECT_EQ(ProfileSection("").Find("x"), std::nullopt);
  EXPECT_EQ(ProfileSection(std::string_view("\0\0", 2)).Find(""), std::nullopt);
}

}  // namespace
}  // namespace quillet
