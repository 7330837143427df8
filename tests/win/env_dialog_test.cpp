// The environment dialog as a user drives it: what OK, Apply and Cancel leave in
// quillet.ini and in the running program.
#include <gtest/gtest.h>

#include <functional>

#include "document/mdi_child_win.h"
#include "prefs/env_dialog_win.h"
#include "tests/win/support/app_harness.h"
#include "win/controls_win.h"

namespace quillet::test {
namespace {

constexpr const char* kStartIni =
    "; kept as written\r\n[General]\r\nBackUp=1\r\n\r\n[Editor]\r\nFont=ＭＳ 明朝\r\nFontSize=12\r\n[Other]\r\nx=1\r\n";

LOGFONTA FontOf(HWND control) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

LONG PointHeight(int points) {
  HDC dc = GetDC(nullptr);
  LONG pixels = MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(nullptr, dc);
  return -pixels;
}

bool Enabled(HWND control) { return IsWindowEnabled(control) != FALSE; }

void ShowPage(TPagesDlg1& d, int page) { ClickTab(d.PageCtl.hwnd(), page); }

class EnvDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.WriteIni(kStartIni);
    h.Start();
  }
  // Opens the dialog from the Option menu, runs the user's steps inside it, then presses
  // the button (null: the steps close it themselves).
  void Run(const std::function<void()>& steps, HWND* button, UINT command = kEnvItem) {
    WhenModal([&] {
      steps();
      if (button) SendMessageA(*button, BM_CLICK, 0, 0);
    });
    h.Command(command);
  }
  TPagesDlg1& d() { return h.app().PagesDlg1(); }
  AppHarness h;
};

TEST_F(EnvDialogTest, OKWritesExactlyTheEditedPagesAndLeavesTheRestOfTheFile) {
  struct Row {
    const char* what;
    std::function<void()> edit;
    std::string ini;
  } rows[] = {
      {"nothing edited", [] {}, kStartIni},
      {"font only", [&] { ShowPage(d(), 1); TypeInto(d().Font, "ＭＳ ゴシック"); },
       "; kept as written\r\n[General]\r\nBackUp=1\r\n\r\n[Editor]\r\nFont=ＭＳ ゴシック\r\nFontSize=12\r\n"
       "Encoding=SJIS\r\nLineEnd=CRLF\r\nMarkFullWidthSpace=1\r\nMarkTab=0\r\nMarkLineEnd=0\r\n[Other]\r\nx=1\r\n"},
      {"the coding of new documents",
       [&] { ShowPage(d(), 1); Pick(d().NewEncoding, 2); Pick(d().NewLineEnd, 1); },
       "; kept as written\r\n[General]\r\nBackUp=1\r\n\r\n[Editor]\r\nFont=ＭＳ ゴシック\r\nFontSize=12\r\n"
       "Encoding=UTF-8 BOM\r\nLineEnd=LF\r\nMarkFullWidthSpace=1\r\nMarkTab=0\r\nMarkLineEnd=0\r\n[Other]\r\nx=1\r\n"},
      {"one check box of page 0",
       [&] { SendMessageA(d().Win31Dialog, BM_CLICK, 0, 0); },
       "; kept as written\r\n[General]\r\nBackUp=1\r\nAutoSave=1\r\nAutoSaveTime=5\r\nEditorPath=NotePad\r\n"
       "Win31Dialog=1\r\nUseDocExp=1\r\nMacroPath=\r\n\r\n[Editor]\r\nFont=ＭＳ 明朝\r\nFontSize=12\r\n"
       "[Other]\r\nx=1\r\n"},
      {"a path for each engine",
       [&] {
         ShowPage(d(), 2);
         TypeInto(d().TeXPath, "C:\\tex\\a.exe");
         Pick(d().TeXList, 1);
         TypeInto(d().TeXPath, "C:\\tex\\big.exe");
       },
       std::string(kStartIni) + "[TeX]\r\nUse=1\r\nｲﾝﾌﾟﾚｽ  WpvTeX=C:\\tex\\a.exe\r\nｲﾝﾌﾟﾚｽ  Big WpvTeX=C:\\tex\\big.exe\r\n"},
      {"a viewer",
       [&] { ShowPage(d(), 3); Pick(d().DviList, 3); },
       std::string(kStartIni) + "[Dvi]\r\nUse=3\r\nｲﾝﾌﾟﾚｽ  WinDvi 1.0 (16bit版)=\r\nｲﾝﾌﾟﾚｽ  WinDvi 1.0 (32bit版)=\r\n"
                                "ｲﾝﾌﾟﾚｽ  WinDviPro=\r\nNorvik  WinDVI (ver 0.2)=\r\nNorvik  WinDVI (ver 0.3以降)=\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    h.WriteIni(kStartIni);
    Run(row.edit, &d().OKBtn);
    EXPECT_FALSE(IsWindowVisible(d().hwnd()));
    EXPECT_EQ(h.Ini(), row.ini);
  }
  const EnvSettings& env = h.app().env_settings();
  EXPECT_EQ(env.tex.paths, (std::vector<std::string>{"C:\\tex\\a.exe", "C:\\tex\\big.exe"}));
  EXPECT_EQ(env.tex.use, 1);
  EXPECT_TRUE(env.general.win31_dialog);
  EXPECT_EQ(CodingName(env.editor.new_coding), "UTF-8 BOM LF");
  EXPECT_FALSE(h.Item("DigitalItem").enabled());  // the viewers after the first three have no manual
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
}

TEST_F(EnvDialogTest, TheFontReachesOpenDocumentsOnlyWhenConfirmed) {
  h.NewBlankDocument();
  HWND memo = h.main().ActiveChild()->Memo;
  // Typed but cancelled: the document and the next showing keep the old font.
  Run([&] { TypeInto(d().Font, "ＭＳ ゴシック"); }, &d().CancelBtn, kPPropertyItem);
  EXPECT_STREQ(FontOf(memo).lfFaceName, "ＭＳ 明朝");
  EXPECT_EQ(d().PageCtl.active(), 1);  // the document's menu opens the editor page
  std::string shown;
  // 50 is previewed at 10 but applied as 50; what Apply made in force stays after Cancel.
  Run([&] {
    shown = ControlText(d().Font);
    TypeInto(d().Size, "50");
    EXPECT_EQ(FontOf(d().SampleText).lfHeight, PointHeight(10));
    SendMessageA(d().ApplyBtn, BM_CLICK, 0, 0);
    EXPECT_FALSE(Enabled(d().ApplyBtn));
    EXPECT_EQ(FontOf(memo).lfHeight, PointHeight(50));
  }, &d().CancelBtn);
  EXPECT_EQ(shown, "ＭＳ 明朝");
  EXPECT_EQ(FontOf(memo).lfHeight, PointHeight(50));
  EXPECT_EQ(h.IniValue("Editor", "FontSize"), "50");
  h.NewBlankDocument();
  EXPECT_EQ(FontOf(h.main().ActiveChild()->Memo).lfHeight, PointHeight(50));
  Run([&] {
    shown = ControlText(d().Size);
    TypeInto(d().Size, "30");
    EXPECT_EQ(FontOf(d().SampleText).lfHeight, PointHeight(30));
  }, &d().CancelBtn);
  EXPECT_EQ(shown, "50");
}

// The boxes show the marks in force; OK writes them and puts them on the documents' screens.
TEST_F(EnvDialogTest, TheMarksReachTheFileAndEveryDocument) {
  h.app().env_settings().editor.marks = {.full_width_space = false, .tab = true, .line_end = false};
  h.NewBlankDocument();
  HWND memo = h.main().ActiveChild()->Memo;
  SendMessageA(memo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\x81\x40"));  // "　"
  auto space_marked = [&] { return ClientPixels(memo).Count(RGB(0xA8, 0xB8, 0xD0), {0, 0, 40, 20}) > 0; };
  EXPECT_FALSE(space_marked()) << "a new document takes the marks in force";
  std::vector<bool> shown;
  Run([&] {
    ShowPage(d(), 1);
    shown = {IsChecked(d().ShowSpaces), IsChecked(d().ShowTabs), IsChecked(d().ShowLineEnds)};
    SendMessageA(d().ShowSpaces, BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled(d().ApplyBtn));
  }, &d().OKBtn);
  EXPECT_EQ(shown, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(h.IniValue("Editor", "MarkFullWidthSpace") + h.IniValue("Editor", "MarkTab") +
                h.IniValue("Editor", "MarkLineEnd"), "110");
  EXPECT_TRUE(space_marked()) << "an open document takes the marks confirmed";
}

TEST_F(EnvDialogTest, ApplyFollowsThePageShownAndWritesOnlyIt) {
  std::vector<bool> apply;
  Run([&] {
    apply.push_back(Enabled(d().ApplyBtn));
    ShowPage(d(), 1);
    TypeInto(d().Size, "14");
    apply.push_back(Enabled(d().ApplyBtn));
    ShowPage(d(), 0);
    apply.push_back(Enabled(d().ApplyBtn));
    TypeInto(d().MacroPath, "C:\\マクロ");
    apply.push_back(Enabled(d().ApplyBtn));
    SendMessageA(d().ApplyBtn, BM_CLICK, 0, 0);  // page 0 only
    apply.push_back(Enabled(d().ApplyBtn));
    EXPECT_EQ(h.IniValue("General", "MacroPath"), "C:\\マクロ");
    EXPECT_EQ(h.IniValue("Editor", "FontSize"), "12");
  }, &d().OKBtn);
  EXPECT_EQ(apply, (std::vector<bool>{false, true, false, true, false}));
  EXPECT_EQ(h.IniValue("Editor", "FontSize"), "14");  // OK wrote the page left edited
}

TEST_F(EnvDialogTest, DependentControlsFollowTheirCheckBoxesAndTheIntervalStaysInRange) {
  struct Row { const char* typed; const char* kept; } rows[] = {{"5000", "1440"}, {"0", "1"}, {"", "1"}, {"90", "90"}};
  std::vector<std::string> kept, expected;
  for (auto r : rows) expected.push_back(r.kept);
  Run([&] {
    SendMessageA(d().AutoSave, BM_CLICK, 0, 0);
    EXPECT_FALSE(Enabled(d().AutoSaveTime));
    EXPECT_FALSE(Enabled(d().EditorPath));
    SendMessageA(d().ShowLogFile, BM_CLICK, 0, 0);
    EXPECT_TRUE(Enabled(d().EditorPath));
    EXPECT_TRUE(Enabled(d().Button2));
    SendMessageA(d().AutoSave, BM_CLICK, 0, 0);
    for (auto r : rows) {
      SetFocus(d().AutoSaveTime);
      TypeInto(d().AutoSaveTime, r.typed);
      SetFocus(d().MacroPath);
      kept.push_back(ControlText(d().AutoSaveTime));
    }
  }, &d().OKBtn);
  EXPECT_EQ(kept, expected);
  EXPECT_EQ(h.main().autosave_interval(), 90u * 60000);
  EXPECT_TRUE(h.app().env_settings().general.show_log_file);
  EXPECT_EQ(h.IniValue("General", "AutoSaveTime"), "90");
  EXPECT_EQ(h.Ini().find("ShowLogFile"), std::string::npos);
}

TEST_F(EnvDialogTest, BrowseButtonsAskForAProgramAndKeepTheBoxWhenCancelled) {
  struct Row { HWND* button; HWND* box; int page; const char* title; } rows[] = {
      {&d().Button2, &d().EditorPath, 0, "ｴﾃﾞｨﾀのﾊﾟｽ指定"},
      {&d().Button3, &d().TeXPath, 2, "TeXのﾊﾟｽ指定"},
      {&d().Button1, &d().DviPath, 3, "Dviﾃﾞﾊﾞｲｽのﾊﾟｽ指定"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.title);
    h.dialogs.asked.clear();
    h.dialogs.answers = {std::string("C:\\bin\\prog.exe"), std::nullopt};
    std::vector<std::string> texts;
    Run([&] {
      ShowPage(d(), r.page);
      if (!Enabled(*r.button)) SendMessageA(d().ShowLogFile, BM_CLICK, 0, 0);
      SendMessageA(*r.button, BM_CLICK, 0, 0);
      texts.push_back(ControlText(*r.box));
      SendMessageA(*r.button, BM_CLICK, 0, 0);
      texts.push_back(ControlText(*r.box));
      EXPECT_TRUE(d().PageChanged(r.page));
    }, &d().CancelBtn);
    EXPECT_EQ(texts, (std::vector<std::string>{"C:\\bin\\prog.exe", "C:\\bin\\prog.exe"}));
    ASSERT_EQ(h.dialogs.asked.size(), 2u);
    EXPECT_EQ(h.dialogs.asked[0].title, r.title);
    EXPECT_EQ(h.dialogs.asked[0].filter, "実行ﾌｧｲﾙ|*.exe");
    EXPECT_EQ(h.dialogs.asked[0].file_name, "*.exe");
  }
  EXPECT_EQ(h.app().env_settings().general.editor_path, "NotePad");
}

TEST_F(EnvDialogTest, ARefusedWriteKeepsTheDialogOpenAndChangesNothing) {
  DeleteFileA(h.ini_path().c_str());
  ASSERT_TRUE(CreateDirectoryA(h.ini_path().c_str(), nullptr));
  bool open_after_ok = false;
  Run([&] {
    ShowPage(d(), 1);
    TypeInto(d().Font, "ＭＳ ゴシック");
    SendMessageA(d().OKBtn, BM_CLICK, 0, 0);
    open_after_ok = IsWindowVisible(d().hwnd()) != FALSE;
    EXPECT_EQ(ControlText(d().Font), "ＭＳ ゴシック");
    SendMessageA(d().CancelBtn, BM_CLICK, 0, 0);
  }, nullptr);
  EXPECT_TRUE(open_after_ok);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].text,
            h.ini_path() + " に書き込めません\rこの場所に書き込む権限がありません。書き込みの権限を管理者に求めてください。");
  EXPECT_EQ(h.app().env_settings().editor.font_name, "ＭＳ 明朝");
  RemoveDirectoryA(h.ini_path().c_str());
}

TEST_F(EnvDialogTest, LongTextsAreCutOnACharacterBoundary) {
  std::string long_path(1030, 'x');
  long_path.replace(1022, 2, "あ");  // a double-byte character across the limit
  Run([&] { TypeInto(d().MacroPath, long_path); }, &d().OKBtn);
  std::string stored = h.app().env_settings().general.macro_path;
  EXPECT_EQ(stored, long_path.substr(0, 1022));
  EXPECT_EQ(h.IniValue("General", "MacroPath"), stored);
}

TEST(EnvDialogStartTest, AKindOutsideTheListShowsTheFirstAndIsKeptUntilChosen) {
  AppHarness h;
  h.WriteIni("[TeX]\r\nUse=9\r\nｲﾝﾌﾟﾚｽ  WpvTeX=C:\\w.exe\r\n");
  h.Start();
  TPagesDlg1& d = h.app().PagesDlg1();
  std::vector<std::string> shown;
  WhenModal([&] {
    ClickTab(d.PageCtl.hwnd(), 2);
    shown = {std::to_string(SendMessageA(d.TeXList, LB_GETCURSEL, 0, 0)), ControlText(d.TeXPath)};
    SendMessageA(d.OKBtn, BM_CLICK, 0, 0);
  });
  h.Command(kEnvItem);
  EXPECT_EQ(shown, (std::vector<std::string>{"0", "C:\\w.exe"}));
  EXPECT_EQ(h.app().env_settings().tex.use, -1);
  EXPECT_EQ(h.IniValue("TeX", "Use"), "9");
}

}  // namespace
}  // namespace quillet::test
