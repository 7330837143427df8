// Help asked for from the program's windows reaches the help engine with its numbers.
#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "aids/command_palette_win.h"
#include "aids/doc_wizard_win.h"
#include "aids/macro_dialog_win.h"
#include "aids/section_dialog_win.h"
#include "core/command_ids.h"
#include "help/help_file.h"
#include "help/help_win.h"
#include "prefs/env_dialog_win.h"
#include "tests/win/support/app_harness.h"
#include "tex/tex_settings_dialog_win.h"

namespace quillet::test {
namespace {

std::string TopicText(unsigned number) {
  static HelpFile file = ParseHelpFile(ReadFileBytes("Quillet.hlp"));
  const HelpTopic* topic = file.Find(number);
  return topic ? TopicDisplayText(*topic) : "<no topic " + std::to_string(number) + ">";
}

struct HelpFixture : ::testing::Test {
  AppHarness h;
  HelpEngine& help() { return h.app().help_engine(); }
  std::string Popup() { return help().popup_window() ? help().popup_text() : "<none>"; }
  void SendHelp(HWND form, HWND control) {
    HELPINFO info{};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = control;
    SendMessageA(form, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  }
};

TEST_F(HelpFixture, DialogHelpButtonsShowThePageTopic) {
  h.Start();
  TPagesDlg1& env = h.app().PagesDlg1();
  std::vector<std::string> seen;
  WhenModal([&] {
    for (int page = 0; page < 4; ++page) {
      env.PageCtl.SetActive(page);
      SendMessageA(env.HelpBtn, BM_CLICK, 0, 0);
      seen.push_back(Popup());
    }
    SendMessageA(env.CancelBtn, BM_CLICK, 0, 0);
  });
  h.Command(kEnvItem);
  ASSERT_EQ(seen.size(), 4u);
  for (int page = 0; page < 4; ++page) EXPECT_EQ(seen[page], TopicText(43 + page)) << page;

  TPagesDlg& tex = h.app().PagesDlg();
  std::string tex_topic;
  WhenModal([&] {
    tex.PageCtl.SetActive(3);
    SendMessageA(tex.HelpBtn, BM_CLICK, 0, 0);
    tex_topic = Popup();
    SendMessageA(tex.CancelBtn, BM_CLICK, 0, 0);
  });
  h.Command(kSetItem);
  EXPECT_EQ(tex_topic, TopicText(51));
}

TEST_F(HelpFixture, ContextHelpOnAControlShowsItsTopicOrNothing) {
  h.Start();
  TPagesDlg1& env = h.app().PagesDlg1();
  for (int page : {0, 1, 3}) env.EnsurePage(page);
  struct Row { HWND control; const char* what; unsigned topic; } rows[] = {
      {env.BackUP, "BackUP", 108},   {env.MacroPath, "MacroPath", 116}, {env.Font, "Font", 117},
      {env.DviPath, "DviPath", 128}, {env.OKBtn, "OK", 75},             {env.HelpBtn, "Help", 78},
      {env.NewEncoding, "NewEncoding", 163}, {env.NewLineEnd, "NewLineEnd", 164},
      {env.ShowSpaces, "ShowSpaces", 168},   {env.ShowTabs, "ShowTabs", 169},       {env.ShowLineEnds, "ShowLineEnds", 170},
  };
  for (const auto& r : rows) {
    help().Request(h.main().hwnd(), HELP_QUIT, 0);
    SendHelp(env.hwnd(), r.control);
    EXPECT_EQ(Popup(), TopicText(r.topic)) << r.what;
  }
  // A page holds no number of its own, and neither does the dialog: nothing is shown.
  help().Request(h.main().hwnd(), HELP_QUIT, 0);
  SendHelp(env.hwnd(), env.PageCtl.page(0));
  EXPECT_EQ(Popup(), "<none>");
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
}

// F1 on a control of the writing aids reaches the form through the page it lies on, and
// the dialogs' help buttons show their dialog's topic.
TEST_F(HelpFixture, TheWritingAidsShowTheirTopics) {
  h.Start();
  TDocExpDlg& wizard = h.app().DocExpDlg();
  TSectionDlg& sections = h.app().SectionDlg();
  TMacroDlg& macros = h.app().MacroDlg();
  TInput& palette = h.app().Input();
  for (Form* form : std::initializer_list<Form*>{&wizard, &sections, &macros}) form->EnsureBuilt();
  struct Row { HWND control; const char* what; unsigned topic; } rows[] = {
      {wizard.BackBtn, "BackBtn", 137},        {wizard.NoUseNext, "NoUseNext", 141},
      {wizard.StrSize, "StrSize", 144},        {wizard.RadioGroup1[2], "headings", 148},
      {wizard.Author2, "Author2", 151},        {wizard.TableContents, "TableContents", 158},
      {sections.ListView, "ListView", 131},    {sections.StopBtn, "StopBtn", 162},
      {macros.Title, "macro Title", 134},      {palette.ListView1, "palette list", 1032},
  };
  for (const auto& r : rows) {
    help().Request(h.main().hwnd(), HELP_QUIT, 0);
    HELPINFO info{};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = r.control;
    SendMessageA(r.control, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(Popup(), TopicText(r.topic)) << r.what;
  }
  for (auto [form, button, topic] : {std::tuple{sections.hwnd(), sections.Button3, 159u},
                                     std::tuple{macros.hwnd(), macros.Button4, 160u}}) {
    help().Request(h.main().hwnd(), HELP_QUIT, 0);
    SendMessageA(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(Popup(), TopicText(topic));
  }
}

}  // namespace
}  // namespace quillet::test
