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
      {{"Editor", "MarkTab"}, "1"},
      {{"TeX", "Use"}, "2"},
      {{"TeX", "ｲﾝﾌﾟﾚｽ  Big WpvTeX"}, "C:\\big.exe"},
      {{"Dvi", "Use"}, "4"},
      {{"Dvi", "Norvik  WinDVI (ver 0.3以降)"}, "C:\\windvi.exe"},
  }));
  EXPECT_EQ(s.general.auto_save_minutes, 10);
  EXPECT_FALSE(s.general.show_log_file);
  EXPECT_EQ(s.editor.font_size, "大");
  EXPECT_EQ(s.editor.FontSize(), 10);
  EXPECT_EQ(s.editor.marks, (EditorMarks{.full_width_space = true, .tab = true, .line_end = false}));
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


// What a page writes is what the next start reads back as that page.
TEST(EnvSettingsTest, EachPageWritesItsKeysInOrderAndReadsBackAsWritten) {
  EnvSettings edited;
  edited.general = {.backup = false, .auto_save = false, .auto_save_minutes = 30, .show_log_file = true,
                    .editor_path = "C:\\エディタ\\ed.exe", .win31_dialog = true, .use_doc_exp = false,
                    .macro_path = "C:\\マクロ"};
  edited.editor = {.font_name = "ＭＳ 明朝", .font_size = "050",
                   .new_coding = {.encoding = Encoding::kUtf8, .bom = true, .line_end = LineEnd::kLf},
                   .marks = {.full_width_space = false, .tab = true, .line_end = true}};
  edited.tex = {1, {"C:\\tex.exe", "C:\\big.exe"}};
  edited.dvi = {3, {"a", "b", "c", "d", "e"}};
  std::map<std::pair<std::string, std::string>, std::string> file;
  std::vector<std::string> order;
  for (int page = 0; page < kEnvPageCount; ++page) {
    for (const ProfileEntry& e : PageEntries(edited, page)) {
      file[{e.section, e.key}] = e.value;
      order.push_back(e.section + "/" + e.key);
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{
                       "General/BackUp", "General/AutoSave", "General/AutoSaveTime", "General/EditorPath",
                       "General/Win31Dialog", "General/UseDocExp", "General/MacroPath", "Editor/Font",
                       "Editor/FontSize", "Editor/Encoding", "Editor/LineEnd", "Editor/MarkFullWidthSpace", "Editor/MarkTab",
                       "Editor/MarkLineEnd", "TeX/Use", "TeX/ｲﾝﾌﾟﾚｽ  WpvTeX", "TeX/ｲﾝﾌﾟﾚｽ  Big WpvTeX", "Dvi/Use",
                       "Dvi/ｲﾝﾌﾟﾚｽ  WinDvi 1.0 (16bit版)", "Dvi/ｲﾝﾌﾟﾚｽ  WinDvi 1.0 (32bit版)",
                       "Dvi/ｲﾝﾌﾟﾚｽ  WinDviPro", "Dvi/Norvik  WinDVI (ver 0.2)", "Dvi/Norvik  WinDVI (ver 0.3以降)"}));
  EXPECT_EQ((file[{"Editor", "FontSize"}]), "50");
  EXPECT_EQ((file[{"Editor", "Encoding"}]), "UTF-8 BOM");
  EXPECT_EQ((file[{"Editor", "LineEnd"}]), "LF");
  EXPECT_EQ((file[{"Editor", "MarkFullWidthSpace"}]), "0");
  EXPECT_EQ((file[{"Editor", "MarkLineEnd"}]), "1");
  EnvSettings in_force;
  for (int page = 0; page < kEnvPageCount; ++page) TakePage(in_force, edited, page);
  EnvSettings reread = ReadEnvSettings(TableSource(file));
  reread.general.show_log_file = true;  // in force for this run only
  EXPECT_EQ(reread, in_force);
  EXPECT_EQ(in_force.editor.font_size, "50");
}

// Each key stands alone: a value that names nothing gives the default for that key only.
TEST(EnvSettingsTest, NewDocumentsTakeTheStoredEncodingAndLineEnd) {
  using E = Encoding;
  using L = LineEnd;
  struct Row { const char* encoding; const char* line_end; E expected_encoding; bool bom; L expected_line_end; } rows[] = {
      {"SJIS", "CRLF", E::kShiftJis, false, L::kCrLf}, {"UTF-8", "LF", E::kUtf8, false, L::kLf},
      {"UTF-8 BOM", "CR", E::kUtf8, true, L::kCr},     {"EUC", "LF", E::kEucJp, false, L::kLf},
      {"JIS", "CRLF", E::kIso2022Jp, false, L::kCrLf}, {"UTF-16", "LF", E::kShiftJis, false, L::kLf},
      {"EUC", "\\n", E::kEucJp, false, L::kCrLf},    {"utf-8", "", E::kShiftJis, false, L::kCrLf},
  };
  for (auto r : rows) {
    EnvSettings s = ReadEnvSettings(
        TableSource({{{"Editor", "Encoding"}, r.encoding}, {{"Editor", "LineEnd"}, r.line_end}}));
    EXPECT_EQ(s.editor.new_coding, (FileCoding{r.expected_encoding, r.bom, r.expected_line_end}))
        << r.encoding << " " << r.line_end;
  }
}

TEST(EnvSettingsTest, TakingOnePageLeavesTheOthersAsTheyWere) {
  EnvSettings edited;
  edited.general.backup = false;
  edited.editor.font_name = "x";
  edited.editor.new_coding.line_end = LineEnd::kLf;
  edited.editor.marks.line_end = true;
  edited.tex.use = 1;
  edited.dvi.use = 4;
  for (int page = 0; page < kEnvPageCount; ++page) {
    EnvSettings in_force;
    TakePage(in_force, edited, page);
    EXPECT_EQ(!in_force.general.backup, page == 0) << page;
    EXPECT_EQ(in_force.editor.font_name == "x", page == 1) << page;
    EXPECT_EQ(in_force.editor.new_coding.line_end == LineEnd::kLf, page == 1) << page;
    EXPECT_EQ(in_force.editor.marks.line_end, page == 1) << page;
    EXPECT_EQ(in_force.tex.use == 1, page == 2) << page;
    EXPECT_EQ(in_force.dvi.use == 4, page == 3) << page;
  }
}

TEST(EnvSettingsTest, TheFontListOffersJapaneseHorizontalFacesOnly) {
  struct Row { const char* name; bool listed; } rows[] = {
      {"ＭＳ ゴシック", true}, {"Arial", false},  {"@ＭＳ 明朝", false}, {"#ﾌｫﾝﾄ", false},
      {"&ﾌｫﾝﾄ", false},        {"'ﾌｫﾝﾄ", true}, {"\"ﾌｫﾝﾄ", true},     {"", false},
  };
  for (auto r : rows) EXPECT_EQ(IsListedFontName(r.name), r.listed) << r.name;
}

TEST(EnvSettingsTest, ThePreviewShowsSizesSevenToThirtyAndTenOtherwise) {
  struct Row { const char* typed; int preview; int minutes; } rows[] = {
      {"7", 7, 7}, {"30", 30, 30}, {"6", 10, 6}, {"31", 10, 31}, {"50", 10, 50},
      {"", 10, 1}, {"大", 10, 1}, {"-3", 10, 1}, {"2000", 10, 1440},
  };
  for (auto r : rows) {
    EXPECT_EQ(PreviewFontSize(r.typed), r.preview) << r.typed;
    EXPECT_EQ(TypedAutoSaveMinutes(r.typed), r.minutes) << r.typed;
  }
}

}  // namespace
}  // namespace quillet
