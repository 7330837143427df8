// The format items of the Option menu: made from wintex.ini at start-up, chosen from the
// menu, rebuilt after the TeX menu entries change, and the choice written back at exit.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "tests/win/support/app_harness.h"

namespace quillet::test {
namespace {

std::string WintexValue(AppHarness& h, const char* section, const char* key) {
  char value[256];
  DWORD n = GetPrivateProfileStringA(section, key, "<missing>", value, sizeof(value), h.wintex_path().c_str());
  return std::string(value, n);
}

// The format items as the user sees them: "*" before the checked one.
std::vector<std::string> FormatItems(AppHarness& h) {
  std::vector<std::string> out;
  const auto& items = h.Item("Option1").children();
  for (std::size_t i = static_cast<std::size_t>(h.main().run().OptionMenuBase); i < items.size(); ++i) {
    out.push_back((items[i]->checked() ? "*" : "") + items[i]->caption());
  }
  return out;
}

std::string TeXModeFile(const std::string& default_line) {
  return "[TeXMode]\r\nLaTeX=lplain\r\nplain TeX=plain\r\n日本語 LaTeX=jlplain\r\n[TeXModeDefault]\r\n" + default_line +
         "\r\n";
}

TEST(FormatChoiceTest, StartUpMakesOneItemPerEntryAndChecksTheStoredOne) {
  struct Row { const char* stored; int mode; std::vector<std::string> items; } rows[] = {
      {"TeXModeDefault=2", 2, {"LaTeX", "plain TeX", "*日本語 LaTeX"}},
      {"TeXModeDefault=1", 1, {"LaTeX", "*plain TeX", "日本語 LaTeX"}},
      {"TeXModeDefault=0x1", 1, {"LaTeX", "*plain TeX", "日本語 LaTeX"}},
      {"TeXModeDefault=3", 0, {"*LaTeX", "plain TeX", "日本語 LaTeX"}},
      {"TeXModeDefault=-5", 0, {"*LaTeX", "plain TeX", "日本語 LaTeX"}},
      {"TeXModeDefault=abc", 0, {"*LaTeX", "plain TeX", "日本語 LaTeX"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored);
    AppHarness h;
    WriteFileBytes(h.wintex_path(), TeXModeFile(row.stored));
    h.Start();
    EXPECT_EQ(h.main().run().CurrentTeXMode, row.mode);
    EXPECT_EQ(FormatItems(h), row.items);
    EXPECT_TRUE(h.Item("N8").visible());
    EXPECT_EQ(h.main().run().OptionMenuBase, 3);
  }
}

TEST(FormatChoiceTest, ChoosingAnItemLeavesExactlyOneCheckAndIsWrittenAtExit) {
  AppHarness h;
  WriteFileBytes(h.wintex_path(), TeXModeFile("TeXModeDefault=0"));
  h.Start();
  ASSERT_EQ(h.main().run().FormatCommandIds.size(), 3u);
  h.Command(h.main().run().FormatCommandIds[2]);
  EXPECT_EQ(h.main().run().CurrentTeXMode, 2);
  EXPECT_EQ(FormatItems(h), (std::vector<std::string>{"LaTeX", "plain TeX", "*日本語 LaTeX"}));
  EXPECT_FALSE(h.Item("EnvItem").checked());
  EXPECT_FALSE(h.Item("SetItem").checked());
  // The status text of a format item.
  MenuNode* item = h.main().menu().FindById(h.main().run().FormatCommandIds[0]);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->hint(), "使用するﾌｫｰﾏｯﾄﾌｧｲﾙ");
  EXPECT_EQ(WintexValue(h, "TeXModeDefault", "TeXModeDefault"), "0");  // nothing written yet
  h.Close();
  EXPECT_EQ(WintexValue(h, "TeXModeDefault", "TeXModeDefault"), "2");
}

TEST(FormatChoiceTest, WithoutEntriesNoFormatIsChosenAndRunsAreRefused) {
  AppHarness h;
  h.Start();
  EXPECT_EQ(h.main().run().CurrentTeXMode, -1);
  EXPECT_TRUE(FormatItems(h).empty());
  EXPECT_FALSE(h.Item("N8").visible());
  h.Command(kTeX1Item);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].kind, MsgKind::Warning);
  EXPECT_EQ(h.messages.shown[0].text, "ﾌｫｰﾏｯﾄﾌｧｲﾙが作成されていません。\rまず、ﾌｫｰﾏｯﾄﾌｧｲﾙを作成して下さい。");
  // Entries added later still leave no format chosen.
  h.main().run().RebuildFormatItems({"LaTeX"});
  EXPECT_EQ(h.main().run().CurrentTeXMode, -1);
  EXPECT_EQ(FormatItems(h), (std::vector<std::string>{"LaTeX"}));
  h.Command(kTeX2Item);
  EXPECT_EQ(h.messages.shown.size(), 2u);
  EXPECT_TRUE(h.main().speed_panel().IsEnabled(TeX1Btn));  // enabled again after the refusal
  h.Close();
  EXPECT_EQ(WintexValue(h, "TeXModeDefault", "TeXModeDefault"), "-1");
}

TEST(FormatChoiceTest, RebuildingKeepsOrResetsTheChoice) {
  AppHarness h;
  WriteFileBytes(h.wintex_path(), TeXModeFile("TeXModeDefault=2"));
  h.Start();
  h.main().run().RebuildFormatItems({"LaTeX", "plain TeX", "日本語 LaTeX", "AMS"});
  EXPECT_EQ(h.main().run().CurrentTeXMode, 2);
  EXPECT_EQ(FormatItems(h), (std::vector<std::string>{"LaTeX", "plain TeX", "*日本語 LaTeX", "AMS"}));
  h.main().run().RebuildFormatItems({"LaTeX"});
  EXPECT_EQ(h.main().run().CurrentTeXMode, 0);
  EXPECT_EQ(FormatItems(h), (std::vector<std::string>{"*LaTeX"}));
  h.main().run().RebuildFormatItems({});
  EXPECT_EQ(h.main().run().CurrentTeXMode, 0);
  EXPECT_TRUE(FormatItems(h).empty());
  EXPECT_FALSE(h.Item("N8").visible());
  h.Command(kTeX1Item);
  EXPECT_EQ(h.messages.shown.size(), 1u);  // the no-format warning
}

}  // namespace
}  // namespace quillet::test
