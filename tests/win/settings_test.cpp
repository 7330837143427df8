// quillet.ini at start-up and shutdown, seen through the windows and the file.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "aids/command_palette_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "prefs/env_dialog_win.h"
#include "tex/tex_config_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/linux_run.h"
#include "tests/win/support/standins.h"
#include "win/controls_win.h"
#include "win/profile_win.h"
#include "win/settings_location_win.h"

namespace quillet::test {
namespace {

RECT WindowRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

int ScreenW() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenH() { return GetSystemMetrics(SM_CYSCREEN); }
// Where the palette goes at first: the bottom right corner the taskbar leaves free.
POINT FreeCorner() {
  RECT work{0, 0, ScreenW(), ScreenH()};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return {work.right, work.bottom};
}

// What a start without settings shows, whatever made the settings unusable.
void ExpectDefaultsOnScreen(AppHarness& h, const char* what) {
  SCOPED_TRACE(what);
  RECT main = WindowRect(h.main().hwnd());
  EXPECT_EQ(main.left, 0);
  EXPECT_EQ(main.top, 0);
  EXPECT_EQ(main.right - main.left, ScreenW());
  EXPECT_EQ(main.bottom - main.top, ScreenH());
  EXPECT_FALSE(IsZoomed(h.main().hwnd()));
  EXPECT_TRUE(IsWindowVisible(h.main().speed_panel().hwnd()));
  EXPECT_TRUE(IsWindowVisible(h.main().status_bar().hwnd()));
  EXPECT_TRUE(h.Item("ToolBarItem").checked());
  EXPECT_TRUE(h.Item("StatusBarItem").checked());
  const EnvSettings& env = h.app().env_settings();
  EXPECT_TRUE(env.general.backup);
  EXPECT_TRUE(env.general.auto_save);
  EXPECT_EQ(env.general.auto_save_minutes, 5);
  EXPECT_EQ(env.general.editor_path, "NotePad");
  EXPECT_FALSE(env.general.win31_dialog);
  EXPECT_TRUE(env.general.use_doc_exp);
  EXPECT_FALSE(env.general.show_log_file);
  EXPECT_EQ(env.general.macro_path, "");
  EXPECT_EQ(env.editor.font_name, "ＭＳ ゴシック");
  EXPECT_EQ(env.editor.font_size, "10");
  EXPECT_EQ(env.tex.use, 0);
  EXPECT_EQ(env.dvi.use, 0);
  EXPECT_EQ(env.tex.paths, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(env.dvi.paths, (std::vector<std::string>(5, "")));
  EXPECT_TRUE(h.Item("DigitalItem").enabled());
  EXPECT_FALSE(h.Item("N7").visible());
  for (const char* item : {"FileName1", "FileName2", "FileName3", "FileName4"}) EXPECT_FALSE(h.Item(item).visible());
  RECT palette = WindowRect(h.app().Input().hwnd());
  EXPECT_EQ(palette.right - palette.left, 170);
  EXPECT_EQ(palette.bottom - palette.top, 190);
  EXPECT_EQ(palette.left, FreeCorner().x - 170);
  EXPECT_EQ(palette.top, FreeCorner().y - 190 - 16);
  EXPECT_TRUE(h.main().CommandInputVisible);
  EXPECT_EQ(h.main().ListViewRatio, 75);
}

TEST(SettingsTest, MissingEmptyOrGarbageSettingsStartWithTheDefaults) {
  std::string huge_line = "[Position]\r\nwidth=" + std::string(10 * 1024 * 1024, '7') + "\r\n";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
  struct Row { const char* what; std::optional<std::string> file; } rows[] = {
      {"missing file", std::nullopt},
      {"empty file", ""},
      {"binary bytes", binary},
      {"a 10 MB line", huge_line},
      {"lines without '='", "[Position]\r\nx\r\nwidth\r\n[General]\r\nAutoSaveTime\r\n"},
      {"numbers out of range",
       "[Position]\r\nx=99999999999\r\ny=-99999999999\r\nwidth=-5\r\nheight=0\r\n"
       "[ComInput]\r\nheight=-1\r\nwidth=999999\r\nListViewRatio=500\r\n[TeX]\r\nUse=0\r\n[Dvi]\r\nUse=0\r\n"},
  };
  for (const auto& row : rows) {
    AppHarness h;
    if (row.file) h.WriteIni(*row.file);
    h.Start();
    ExpectDefaultsOnScreen(h, row.what);
  }
}

TEST(SettingsTest, ShutdownWritesPositionThenComInputThenFiles) {
  AppHarness h;
  h.Start();
  h.Close();
  ASSERT_TRUE(h.closed());
  std::string ini = h.Ini();
  std::size_t position = ini.find("[Position]"), com_input = ini.find("[ComInput]"), files = ini.find("[Files]");
  ASSERT_NE(position, std::string::npos);
  ASSERT_NE(com_input, std::string::npos);
  ASSERT_NE(files, std::string::npos);
  EXPECT_LT(position, com_input);
  EXPECT_LT(com_input, files);
  struct Row { const char* section; const char* key; std::string value; } rows[] = {
      {"Position", "x", "0"},           {"Position", "y", "0"},
      {"Position", "width", std::to_string(ScreenW())},
      {"Position", "height", std::to_string(ScreenH())},
      {"Position", "Maximized", "0"},   {"Position", "StatusBar", "1"},  {"Position", "ToolBar", "1"},
      {"ComInput", "Visible", "1"},     {"ComInput", "height", "190"},   {"ComInput", "width", "170"},
      {"ComInput", "y", std::to_string(FreeCorner().y - 190 - 16)},
      {"ComInput", "x", std::to_string(FreeCorner().x - 170)},
      {"ComInput", "ListViewRatio", "75"},
      {"Files", "File1", ""},           {"Files", "File4", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(h.IniValue(r.section, r.key), r.value) << r.section << "/" << r.key;
  // Settings that only the environment dialog writes are not written at shutdown.
  EXPECT_EQ(h.IniValue("General", "BackUp"), "<missing>");
  // The chosen format (none) goes to the TeX engine's file last.
  char mode[16];
  GetPrivateProfileStringA("TeXModeDefault", "TeXModeDefault", "", mode, sizeof(mode), h.wintex_path().c_str());
  EXPECT_STREQ(mode, "-1");
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
}

TEST(SettingsTest, ValuesAreParsedClampedAndWrittenBackInTheirForm) {
  struct Row { const char* what; const char* ini; int minutes; bool status_bar; } rows[] = {
      {"0 minutes is one", "[General]\r\nAutoSaveTime=0\r\n", 1, true},
      {"5000 minutes is a day", "[General]\r\nAutoSaveTime=5000\r\n", 1440, true},
      {"hexadecimal", "[General]\r\nAutoSaveTime=0x0A\r\n", 10, true},
      {"any non-zero is true", "[Position]\r\nStatusBar=2\r\n", 5, true},
      {"zero is false", "[Position]\r\nStatusBar=0\r\n", 5, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    AppHarness h;
    h.WriteIni(row.ini);
    h.Start();
    EXPECT_EQ(h.app().env_settings().general.auto_save_minutes, row.minutes);
    TPagesDlg1& dialog = h.app().PagesDlg1();
    dialog.SaveEnvironmentSnapshot(h.app().env_settings());
    EXPECT_EQ(ControlText(dialog.AutoSaveTime), std::to_string(row.minutes));
    EXPECT_EQ(IsWindowVisible(h.main().status_bar().hwnd()) != FALSE, row.status_bar);
    EXPECT_EQ(h.Item("StatusBarItem").checked(), row.status_bar);
    h.Close();
    EXPECT_EQ(h.IniValue("Position", "StatusBar"), row.status_bar ? "1" : "0");
  }
}

TEST(SettingsTest, EnginePathsAreKeyedByTheExactListText) {
  AppHarness h;
  h.WriteIni(
      "[TeX]\r\nUse=1\r\nｲﾝﾌﾟﾚｽ  WpvTeX=C:\\wpv\\wpvtex.exe\r\nｲﾝﾌﾟﾚｽ Big WpvTeX=C:\\one-blank.exe\r\n"
      "[Dvi]\r\nUse=4\r\nNorvik  WinDVI (ver 0.3以降)=D:\\windvi\\windvi.exe\r\n"
      "[General]\r\nEditorPath=C:\\エディタ\\ed.exe\r\nMacroPath=C:\\マクロ\r\nWin31Dialog=1\r\nUseDocExp=0\r\nBackUp=0\r\n"
      "[Editor]\r\nFont=ＭＳ 明朝\r\nFontSize=12\r\n");
  h.Start();
  const EnvSettings& env = h.app().env_settings();
  EXPECT_EQ(env.tex.use, 1);
  EXPECT_EQ(env.tex.paths[0], "C:\\wpv\\wpvtex.exe");
  EXPECT_EQ(env.tex.paths[1], "");  // its key differs from the list text by one blank
  EXPECT_EQ(env.dvi.use, 4);
  EXPECT_EQ(env.dvi.paths[4], "D:\\windvi\\windvi.exe");
  EXPECT_FALSE(h.Item("DigitalItem").enabled());  // the viewer is not one of the first three
  EXPECT_EQ(env.general.editor_path, "C:\\エディタ\\ed.exe");
  EXPECT_EQ(env.general.macro_path, "C:\\マクロ");
  EXPECT_TRUE(env.general.win31_dialog);
  EXPECT_FALSE(env.general.use_doc_exp);
  EXPECT_FALSE(env.general.backup);
  EXPECT_EQ(env.editor.font_name, "ＭＳ 明朝");
  EXPECT_EQ(env.editor.FontSize(), 12);
}

TEST(SettingsTest, AnIndexOutsideTheListSelectsNothing) {
  AppHarness h;
  h.WriteIni("[TeX]\r\nUse=7\r\n[Dvi]\r\nUse=-1\r\n");
  h.Start();
  EXPECT_EQ(h.app().env_settings().tex.use, -1);
  EXPECT_EQ(h.app().env_settings().dvi.use, -1);
  EXPECT_EQ(h.app().env_settings().tex.paths.size(), 2u);
  // Without a viewer there is no folder to find the manual in.
  EXPECT_FALSE(h.Item("DigitalItem").enabled());
}

TEST(SettingsTest, MaximizedStateIsRestoredAndWrittenAsItIsAtTheEnd) {
  AppHarness h;
  h.WriteIni("[Position]\r\nx=40\r\ny=30\r\nwidth=700\r\nheight=500\r\nMaximized=1\r\n");
  h.Start();
  EXPECT_TRUE(IsZoomed(h.main().hwnd()));
  // Restoring returns the window to the stored bounds.
  ShowWindow(h.main().hwnd(), SW_RESTORE);
  PumpMessages();
  RECT r = WindowRect(h.main().hwnd());
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 500);
  h.Close();
  EXPECT_EQ(h.IniValue("Position", "Maximized"), "0");
  EXPECT_EQ(h.IniValue("Position", "width"), "700");
}

TEST(SettingsTest, AMaximizedWindowKeepsItsNormalBoundsInTheFile) {
  AppHarness h;
  h.WriteIni("[Position]\r\nx=40\r\ny=30\r\nwidth=700\r\nheight=500\r\n");
  h.Start();
  ShowWindow(h.main().hwnd(), SW_MAXIMIZE);
  PumpMessages();
  h.Close();
  EXPECT_EQ(h.IniValue("Position", "Maximized"), "1");
  EXPECT_EQ(h.IniValue("Position", "x"), "40");
  EXPECT_EQ(h.IniValue("Position", "height"), "500");
}

// The settings written at exit are refused: the user is told which file and why, once.
TEST(SettingsTest, ARefusedWriteSaysWhyAndStopsTheRest) {
  struct Case {
    const char* what;
    std::function<void(const std::string& ini)> refuse;
    const char* cause;
  };
  const Case cases[] = {
      {"read-only", [](const std::string& ini) { SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY); },
       "ﾌｧｲﾙが読み取り専用です。読み取り専用を外してから、もう一度試してください。"},
      {"a folder in its place",
       [](const std::string& ini) {
         DeleteFileA(ini.c_str());
         CreateDirectoryA(ini.c_str(), nullptr);
       },
       "この場所に書き込む権限がありません。書き込みの権限を管理者に求めてください。"},
      {"held by another program", nullptr,
       "ほかのﾌﾟﾛｸﾞﾗﾑがﾌｧｲﾙを使っています。そのﾌﾟﾛｸﾞﾗﾑで閉じてから、もう一度試してください。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppHarness h;
    h.WriteIni("[General]\r\nBackUp=1\r\n");
    h.Start();
    std::string ini = h.ini_path();
    ReadyEvent holding;
    std::optional<StandInProcess> holder;
    if (c.refuse) {
      c.refuse(ini);
    } else {
      std::string command = "\"";
      holder.emplace(command.append(StandInPath("hold_file.exe")).append("\" \"").append(ini).append("\" ").append(holding.name()));
      ASSERT_TRUE(holding.Wait(5000));
    }
    h.Close();
    holder.reset();
    EXPECT_TRUE(h.closed());
    ASSERT_EQ(h.messages.shown.size(), 1u) << h.messages.Texts();
    EXPECT_EQ(h.messages.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(h.messages.shown[0].text, ini + " に書き込めません\r" + c.cause);
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(ini.c_str());
  }
}

// A folder where the user may write the settings files but create nothing (an access list
// an administrator set): both are written into their own files.
TEST(SettingsTest, SettingsInAFolderThatTakesNoNewFileAreWrittenInPlace) {
  AppHarness h;
  h.WriteIni("[Position]\r\nx=40\r\n");
  WriteFileBytes(h.wintex_path(), "[TeXMode]\r\nDefault=-1\r\n");
  h.Start();
  FixedFolder fixed(h.dir().path());
  if (!fixed.fixed()) GTEST_SKIP() << "this file system cannot mark a folder to take no new file";
  h.Close();
  EXPECT_EQ(h.messages.Texts(), "");
  EXPECT_EQ(h.IniValue("Position", "StatusBar"), "1");
  EXPECT_NE(ReadFileBytes(h.wintex_path()).find("Default=0"), std::string::npos) << ReadFileBytes(h.wintex_path());
}

TEST(SettingsTest, RecentFilesComeBackInTheirPlaces) {
  AppHarness h;
  h.WriteIni("[Files]\r\nFile1=\r\nFile2=\r\nFile3=C:\\doc\\c.tex\r\nFile4=\r\n");
  h.Start();
  EXPECT_FALSE(h.Item("FileName1").visible());
  EXPECT_TRUE(h.Item("FileName2").visible());
  EXPECT_EQ(h.Item("FileName2").caption(), "&2 C:\\doc\\c.tex");
  EXPECT_TRUE(h.Item("N7").visible());
  h.Close();
  EXPECT_EQ(h.IniValue("Files", "File1"), "");
  EXPECT_EQ(h.IniValue("Files", "File2"), "C:\\doc\\c.tex");
}

// The dialog shows the settings as they are; OK makes what was edited the program's
// settings, Cancel and the close box drop it.
TEST(SettingsTest, TheEnvironmentDialogEditsACopyThatOKKeeps) {
  AppHarness h;
  h.WriteIni("[General]\r\nAutoSaveTime=7\r\nEditorPath=ed.exe\r\n[Editor]\r\nFont=ＭＳ 明朝\r\nFontSize=12\r\n"
             "Encoding=EUC\r\nLineEnd=CR\r\n[Dvi]\r\nUse=2\r\n");
  h.Start();
  TPagesDlg1& dialog = h.app().PagesDlg1();
  const EnvSettings before = h.app().env_settings();
  struct Row { const char* what; std::function<void()> close; bool kept; } rows[] = {
      {"Cancel", [&] { SendMessageA(dialog.CancelBtn, BM_CLICK, 0, 0); }, false},
      {"close box", [&] { SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0); }, false},
      {"OK", [&] { SendMessageA(dialog.OKBtn, BM_CLICK, 0, 0); }, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<std::string> shown;
    WhenModal([&] {
      ClickTab(dialog.PageCtl.hwnd(), 1);
      ClickTab(dialog.PageCtl.hwnd(), 3);
      shown = {ControlText(dialog.AutoSaveTime), ControlText(dialog.EditorPath), ControlText(dialog.Font),
               ControlText(dialog.Size), ControlText(dialog.NewEncoding), ControlText(dialog.NewLineEnd),
               std::to_string(SendMessageA(dialog.DviList, LB_GETCURSEL, 0, 0)),
               IsWindowEnabled(dialog.EditorPath) ? "editor on" : "editor off"};
      SendMessageA(dialog.BackUP, BM_CLICK, 0, 0);
      SendMessageA(dialog.ShowLogFile, BM_CLICK, 0, 0);
      TypeInto(dialog.Size, "14");
      Pick(dialog.NewEncoding, 1);
      Pick(dialog.NewLineEnd, 1);
      Pick(dialog.DviList, 4);
      row.close();
    });
    h.Command(kEnvItem);
    EXPECT_EQ(shown, (std::vector<std::string>{"7", "ed.exe", "ＭＳ 明朝", "12", "EUC-JP", "CR (旧Mac)", "2",
                                               "editor off"}));
    const EnvSettings& now = h.app().env_settings();
    if (!row.kept) {
      EXPECT_EQ(now, before);
      continue;
    }
    EXPECT_FALSE(now.general.backup);
    EXPECT_TRUE(now.general.show_log_file);
    EXPECT_EQ(now.editor.FontSize(), 14);
    EXPECT_EQ(now.dvi.use, 4);
    EXPECT_EQ(now.editor.new_coding, (FileCoding{.encoding = Encoding::kUtf8, .line_end = LineEnd::kLf}));
    EXPECT_EQ(now.general.auto_save_minutes, 7);
    EXPECT_EQ(now.general.editor_path, "ed.exe");
  }
  // A new document takes the font that OK kept.
  h.NewBlankDocument();
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(h.main().ActiveChild()->Memo, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_STREQ(font.lfFaceName, "ＭＳ 明朝");
}

// The start-up pass reads the file once with the program's own reader; it must find
// what the platform's read per key finds, and list the keys its key-list read lists.
TEST(SettingsTest, TheStartUpPassReadsWhatAReadPerKeyReads) {
  TempDir dir;
  std::string path = dir / "pass.ini";
  WriteFileBytes(path,
                 "[General]\r\n  EditorPath =  \"C:\\Program Files\\ed.exe\" \r\nbackup=0\r\nBackUp=1\r\n"
                 "; AutoSave=0\r\nMacroPath=C:\\m=1\r\nUseDocExp\r\n"
                 "[TeX]\r\nｲﾝﾌﾟﾚｽ  WpvTeX=C:\\tex\\wpvtex.exe\r\nｲﾝﾌﾟﾚｽ Big WpvTeX=x\r\n"
                 "[Files]\r\nFile1=" + std::string(2000, 'f') + "\r\n"
                 "[Big]\r\nfiller=" + std::string(100 * 1024, 'z') + "\r\nAfter=found\r\n"
                 "\t[ Odd ]x] \rlone=cr\rquoted='a b'\r\n\x1A spaced\t= v \r\n"
                 "[odd ]x]\r\nlone=second copy\r\nonly=second\r\n");
  const std::pair<const char*, const char*> keys[] = {
      {"General", "EditorPath"}, {"General", "BackUp"},   {"general", "backup"},
      {"General", "AutoSave"},   {"General", "MacroPath"}, {"General", "UseDocExp"},
      {"TeX", "ｲﾝﾌﾟﾚｽ  WpvTeX"}, {"TeX", "ｲﾝﾌﾟﾚｽ  Big WpvTeX"}, {"Files", "File1"},
      {"Big", "After"},          {"Missing", "x"},           {"Odd ]x", "lone"},       {"odd ]X", "quoted"},
      {"Odd ]x", "spaced"},      {"Odd ]x", "only"},
  };
  ProfileFile file(path);
  ProfileReader pass(file);
  for (auto [section, key] : keys) {
    EXPECT_EQ(pass.ReadString(section, key, "def"), file.ReadString(section, key, "def")) << section << "/" << key;
  }
  EXPECT_EQ(pass.ReadString("General", "EditorPath"), "C:\\Program Files\\ed.exe");
  EXPECT_EQ(pass.ReadString("Big", "After"), "found");
  EXPECT_EQ(pass.ReadString("Files", "File1").size(), 1023u);
  WinProfileStore store(path);
  std::vector<std::vector<std::string>> per_key;
  for (const char* section : {"General", "Odd ]x", "Missing"}) per_key.push_back(store.Keys(section));
  WinProfileStore::Pass whole(store);
  for (const char* section : {"General", "Odd ]x", "Missing"}) {
    EXPECT_EQ(store.Keys(section), per_key.front()) << section;
    per_key.erase(per_key.begin());
  }
}

// A settings file in its usual place stays there while that place can be written; the
// user's own copy in the application-data folder stands in for it whenever it exists.
TEST(SettingsTest, TheUsersOwnCopyStandsInForTheUsualSettingsFile) {
  TempDir app_data, usual;
  char saved[MAX_PATH] = "";
  DWORD had = GetEnvironmentVariableA("APPDATA", saved, MAX_PATH);
  SetEnvironmentVariableA("APPDATA", app_data.path().c_str());
  EXPECT_EQ(UserSettingsFolder(), app_data / "TeX Quillet\\");
  EXPECT_EQ(SettingsFileToUse("quillet-probe.ini"), "quillet-probe.ini");
  EXPECT_EQ(SettingsFileToUse(usual / "quillet.ini"), usual / "quillet.ini");
  CreateDirectoryA((app_data / "TeX Quillet").c_str(), nullptr);
  WriteFileBytes(app_data / "TeX Quillet\\quillet.ini", "[General]\r\nBackUp=1\r\n");
  EXPECT_EQ(SettingsFileToUse("quillet.ini"), app_data / "TeX Quillet\\quillet.ini");
  EXPECT_EQ(SettingsFileToUse(usual / "quillet.ini"), app_data / "TeX Quillet\\quillet.ini");
  EXPECT_FALSE(FileExists(usual / "quillet.ini"));
  SetEnvironmentVariableA("APPDATA", had ? saved : nullptr);
}

}  // namespace
}  // namespace quillet::test
