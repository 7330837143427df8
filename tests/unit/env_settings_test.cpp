#include "prefs/env_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace quillet {
namespace {

// A settings file as a table of section/key -> value.
class TableSource : public ProfileSource {
 public:
  explicit TableSource(std::map<std::pair<std::string, std::string>, std::string> values)
      : values_(std::move(values)) {}
  std::string ReadString(const char* section, const char* key, const std::string& def) const override {
    auto found = values_.find({section, key});
    return found == values_.end() ? def : found->second;
  }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

TEST(EnvSettingsTest, ReadingKeepsTheValueRules) {
  EnvSettings s = ReadEnvSettings(TableSource({
      {{"General", "AutoSaveTime"}, "0x0A"},
      {{"General", "ShowLogFile"}, "1"},  // no such key: every run starts without it
      {{"Editor", "FontSize"}, "大"},
      {{"TeX", "Use"}, "2"},
      {{"TeX", "ｲﾝﾌﾟﾚｽ  Big WpvTeX"}, "C:\\big.exe"},
      {{"Dvi", "Use"}, "4"},
      {{"Dvi", "Norvik  WinDVI (ver 0.3以降)"}, "C:\\windvi.exe"},
  }));
  EXPECT_EQ(s.general.auto_save_minutes, 10);
  EXPECT_FALSE(s.general.show_log_file);
  EXPECT_EQ(s.editor.font_size, "大");
  EXPECT_EQ(s.editor.FontSize(), 10);
  EXPECT_EQ(s.tex.use, -1);  // two kinds only
  EXPECT_EQ(s.tex.paths, (std::vector<std::string>{"", "C:\\big.exe"}));
  EXPECT_EQ(s.tex.ChosenPath(), "");
  EXPECT_EQ(s.dvi.ChosenPath(), "C:\\windvi.exe");
  EXPECT_FALSE(s.ManualAvailable());
  EXPECT_EQ(ReadEnvSettings(TableSource({})), EnvSettings{});
}

TEST(EnvSettingsTest, TheIntervalStaysWithinOneMinuteAndOneDay) {
  struct Row { const char* stored; int minutes; } rows[] = {
      {"0", 1}, {"-5", 1}, {"1", 1}, {"1440", 1440}, {"5000", 1440}, {"x", 5},
  };
  for (auto r : rows) {
    EnvSettings s = ReadEnvSettings(TableSource({{{"General", "AutoSaveTime"}, r.stored}}));
    EXPECT_EQ(s.general.auto_save_minutes, r.minutes) << r.stored;
  }
}

}  // namespace
}  // namespace quillet
