// The main frame as the user sees it at start: windows, menus, tool bar, status bar,
// status texts, and the view, window, help and about commands.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include "aids/command_palette_win.h"
#include "app/title_form_win.h"
#include "artwork/art_canvas_win.h"
#include "core/command_ids.h"
#include "help/help_win.h"
#include "tests/win/support/app_harness.h"
#include "tex/error_window_win.h"
#include "win/handles_win.h"

namespace quillet::test {
namespace {

// A string of a program's version resource (Japanese block), the program beside the tests.
std::string ResourceString(const std::string& exe, const std::string& name) {
  DWORD ignored = 0, size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  std::string data(size, '\0');
  if (!size || !GetFileVersionInfoA(exe.c_str(), 0, size, data.data())) return "<no version resource>";
  char* value = nullptr;
  UINT length = 0;
  std::string path = "\\StringFileInfo\\041104B0\\" + name;
  if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !length) return {};
  return std::string(value, strnlen(value, length));
}

// One line per item: indent, "-" when disabled, "*" when checked, the caption as drawn
// (shortcut after a tab), separators as "---".
std::string DumpMenu(HMENU menu, int depth = 0) {
  std::string out;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = sizeof(text);
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &mii);
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ');
    if (mii.fType & MFT_SEPARATOR) {
      out += "---\n";
      continue;
    }
    if (mii.fState & MFS_DISABLED) out += "-";
    if (mii.fState & MFS_CHECKED) out += "*";
    out += text;
    out += "\n";
    if (mii.hSubMenu) out += DumpMenu(mii.hSubMenu, depth + 1);
  }
  return out;
}

TEST(MainWindowTest, TheMenuBarAtStart) {
  AppHarness h;
  h.Start();
  const char* expected =
      "ﾌｧｲﾙ(&F)\n"
      "  新規作成(&N)\n  開く(&O)...\tCtrl+O\n"
      "  -文字ｺｰﾄﾞを指定して開き直す(&K)\n    Shift-JIS(&S)\n    UTF-8(&U)\n    EUC-JP(&E)\n    JIS (ISO-2022-JP)(&J)\n"
      "  -ｶｰｿﾙ位置に挿入(&I)...\n  -保存(&S)\tCtrl+S\n  -名前を付けて保存(&A)...\n  ---\n"
      "  -印刷(&P)...\n  ---\n  終了(&X)\n"
      "編集(&E)\n"
      "  -やり直し(&U)\tCtrl+Z\n  -やり直しのやり直し(&R)\tCtrl+Y\n  ---\n  -切り取り(&T)\tCtrl+X\n"
      "  -ｺﾋﾟｰ(&C)\tCtrl+C\n  -貼り付け(&P)\tCtrl+V\n  -削除(&D)\n  -すべて選択(&L)\tCtrl+A\n  ---\n"
      "  -最初からやり直し(&O)\n"
      "検索(&S)\n"
      "  -文字列の検索(&F)...\tCtrl+F\n  -文字列の置換(&R)...\tCtrl+R\n  -次を検索(&S)\tF3\n  ---\n"
      "  -指定行へｼﾞｬﾝﾌﾟ(&J)...\tCtrl+J\n  -先頭へｼﾞｬﾝﾌﾟ(&T)\tCtrl+T\n  -最後へｼﾞｬﾝﾌﾟ(&B)\tCtrl+B\n"
      "  -見出しの検索(&D)...\n  -次の見出しへｼﾞｬﾝﾌﾟ(&N)\tCtrl+N\n"
      "表示(&V)\n"
      "  -ｺﾏﾝﾄﾞ入力(&C)\n  ｴﾗｰﾒｯｾｰｼﾞ(&E)\n  ---\n  *ﾂｰﾙﾊﾞｰ(&T)\n  *ｽﾃｰﾀｽﾊﾞｰ(&S)\n"
      "挿入(&I)\n"
      "  -定型ﾏｸﾛ(&M)...\n"
      "実行(&R)\n"
      "  TeXをかける(&T)\n  TeXをかけてﾌﾟﾚﾋﾞｭｰ(&V)\n  TeXをかけて印刷(&P)\n  -ﾌﾟﾚﾋﾞｭｰで現在行を表示(&J)\tCtrl+Shift+J\n  ---\n  -TeXの実行を中止(&S)\tCtrl+Break\n"
      "ｵﾌﾟｼｮﾝ(&O)\n"
      "  環境設定(&V)...\n  TeXの設定(&P)...\n"
      "ｳｨﾝﾄﾞｳ(&W)\n"
      "  -重ねて表示(&C)\tShift+F5\n  -並べて表示(&T)\tShift+F4\n  -ｱｲｺﾝの整列(&A)\n  -すべてをｱｲｺﾝ化(&M)\n"
      "  -すべて閉じる(&L)\n"
      "ﾍﾙﾌﾟ(&H)\n"
      "  ﾄﾋﾟｯｸの検索(&H)...\tF1\n  ｵﾝﾗｲﾝﾄﾞｷｭﾒﾝﾄ(&D)\n  ---\n  ﾊﾞｰｼﾞｮﾝ情報(&A)...\n";
  EXPECT_EQ(DumpMenu(GetMenu(h.main().hwnd())), expected);
}

TEST(MainWindowTest, HiddenItemsAndItemsWithoutACommandNeverRun) {
  AppHarness h;
  h.Start();
  // The hidden Tool menu and the hidden insert items are not in the bar; their commands,
  // and the redo command, do nothing even when asked for directly.
  for (UINT id : {kAddToolItem, kEquItem, kTabItem, kRedoItem, kRedoBtn}) {
    h.Command(id);
    EXPECT_TRUE(h.messages.shown.empty()) << id;
  }
  EXPECT_FALSE(h.Item("Tool1").visible());
  EXPECT_FALSE(h.Item("N8").visible());
  // A disabled item asked for by its key does not run: Ctrl+A without a document.
  h.Command(kSelectAllItem);
  EXPECT_TRUE(h.messages.shown.empty());
}

TEST(MainWindowTest, ShortcutsAreAcceleratorsOfTheirItems) {
  AppHarness h;
  h.Start();
  HACCEL accel = h.main().menu().accelerators();
  int n = CopyAcceleratorTableA(accel, nullptr, 0);
  std::vector<ACCEL> table(static_cast<std::size_t>(n));
  CopyAcceleratorTableA(accel, table.data(), n);
  auto has = [&](BYTE flags, WORD key, UINT cmd) {
    for (const ACCEL& a : table) {
      if ((a.fVirt & ~FNOINVERT) == (flags | FVIRTKEY) && a.key == key && a.cmd == cmd) return true;
    }
    return false;
  };
  struct Row { BYTE flags; WORD key; UINT cmd; } rows[] = {
      {FCONTROL, 'Z', kUndoItem},        {FCONTROL, 'Y', kRedoItem},      {FCONTROL, 'X', kCutItem},
      {FCONTROL, 'C', kCopyItem},        {FCONTROL, 'V', kPasteItem},     {FCONTROL, 'A', kSelectAllItem},
      {FCONTROL, 'F', kFindStrItem},     {FCONTROL, 'R', kReplaceStrItem}, {0, VK_F3, kNextItem},
      {FCONTROL, 'J', kJumptoItem},      {FCONTROL, 'T', kJumpTopItem},   {FCONTROL, 'B', kJumpEndItem},
      {FCONTROL, 'N', kJumpNextItem},    {FSHIFT, VK_F5, kWindowCascadeItem}, {FSHIFT, VK_F4, kWindowTileItem},
      {FCONTROL, 'O', kFileOpenItem},    {FCONTROL, 'S', kFileSaveItem},  {0, VK_F1, kSearchforHelpOnItem},
      {FCONTROL, VK_CANCEL, kStopTeXItem},
      {FCONTROL | FSHIFT, 'J', kForwardSearchItem},
  };
  for (auto r : rows) EXPECT_TRUE(has(r.flags, r.key, r.cmd)) << r.cmd;
  EXPECT_EQ(table.size(), std::size(rows));
}

TEST(MainWindowTest, ToolBarButtonsSitAtTheirPlacesWithTheirTips) {
  AppHarness h;
  h.Start();
  SpeedPanel& bar = h.main().speed_panel();
  RECT panel;
  GetWindowRect(bar.hwnd(), &panel);
  EXPECT_EQ(panel.bottom - panel.top, 32);
  struct Row { ToolButton button; int x; const char* tip; bool enabled; } rows[] = {
      {NewBtn, 10, "新規作成", true},        {OpenBtn, 32, "開く", true},
      {SaveBtn, 54, "保存", false},          {PrintBtn, 76, "印刷", false},
      {FindBtn, 110, "検索", false},         {CutBtn, 142, "切り取り", false},
      {CopyBtn, 164, "ｺﾋﾟｰ", false},         {PasteBtn, 186, "貼り付け", false},
      {UndoBtn, 214, "やり直し", false},     {RedoBtn, 236, "やり直しのやり直し", false},
      {TeX1Btn, 272, "TeXをかける", true},   {TeX2Btn, 294, "TeXをかけてﾌﾟﾚﾋﾞｭｰ", true},
      {TeX3Btn, 316, "TeXをかけて印刷", true}, {ForwardSearchBtn, 338, "ﾌﾟﾚﾋﾞｭｰで現在行を表示", false},
      {HelpBtn, 370, "ﾄﾋﾟｯｸ検索", true},
  };
  for (auto r : rows) {
    RECT b = bar.button_rect(r.button);
    EXPECT_EQ(b.left, r.x) << r.tip;
    EXPECT_EQ(b.top, 5) << r.tip;
    EXPECT_EQ(b.right - b.left, 22) << r.tip;
    EXPECT_EQ(b.bottom - b.top, 22) << r.tip;
    EXPECT_EQ(bar.tooltip(r.button), r.tip);
    EXPECT_EQ(bar.IsEnabled(r.button), r.enabled) << r.tip;
  }
}

TEST(MainWindowTest, StatusBarHasSixPanelsAndShowsStatusTexts) {
  AppHarness h;
  h.Start();
  HWND status = h.main().status_bar().hwnd();
  int edges[8] = {};
  ASSERT_EQ(SendMessageA(status, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 6);
  std::vector<int> widths{edges[0]};
  for (int i = 1; i < 6; ++i) widths.push_back(edges[i] - edges[i - 1]);
  EXPECT_EQ(std::vector<int>(widths.begin() + 2, widths.end()), (std::vector<int>{40, 110, 300, 160}));
  // The caret's and the size's panels hold a 200 MB document's figures whole.
  WindowDc dc(status);
  SelectIn font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(status, WM_GETFONT, 0, 0)));
  for (int panel : {0, 1}) {
    std::string widest = panel ? kWidestSizeText : kWidestCaretText;
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), widest.data(), static_cast<int>(widest.size()), &size);
    EXPECT_GE(h.main().status_bar().TextRoom(panel), size.cx) << widest;
    EXPECT_GE(widths[static_cast<std::size_t>(panel)], panel ? 80 : 60);
  }
  RECT r;
  GetWindowRect(status, &r);
  EXPECT_EQ(r.bottom - r.top, 19);
  HWND main = h.main().hwnd();
  struct Row { UINT item; UINT flags; HMENU menu; const char* text; } rows[] = {
      {kFileExitItem, MF_STRING, GetSubMenu(GetMenu(main), 0), "TeX Quilletの終了"},
      {kEnvItem, MF_STRING, GetSubMenu(GetMenu(main), 6), "TeX Quilletの環境設定"},
      {kTeX2Item, MF_STRING, GetSubMenu(GetMenu(main), 5), "必要なら、TeXをかけてからﾌﾟﾚﾋﾞｭｰする"},
      {1, MF_POPUP, GetMenu(main), "ﾃｷｽﾄの編集操作に関するｺﾏﾝﾄﾞ"},  // the Edit menu itself
      {0xFFFF, 0xFFFF, nullptr, ""},                                  // the menu closed
  };
  for (auto row : rows) {
    SendMessageA(main, WM_MENUSELECT, MAKEWPARAM(row.item, row.flags), reinterpret_cast<LPARAM>(row.menu));
    EXPECT_EQ(h.Panel(4), row.text);
  }
  // Tool buttons carry no status text: hovering one empties the panel.
  h.main().DisplayHint("x");
  h.main().speed_panel().on_hint("");
  EXPECT_EQ(h.Panel(4), "");
}

// The status bar's pixels as the screen shows them.
std::vector<std::uint32_t> StatusPixels(HWND status) {
  RECT r;
  GetClientRect(status, &r);
  DibSurface shot(r.right, r.bottom);
  WindowDc dc(status);
  BitBlt(shot.dc(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<std::uint32_t> pixels(shot.bits(), shot.bits() + r.right * r.bottom);
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

// Typing repaints the caret panel at once, without a WM_PAINT: it must look as a full
// repaint of the bar would.
TEST(MainWindowTest, AnImmediateStatusRepaintDrawsWhatAFullRepaintDraws) {
  AppHarness h;
  h.Start();
  StatusBar& bar = h.main().status_bar();
  PumpMessages();
  std::vector<std::uint32_t> before = StatusPixels(bar.hwnd());
  bar.SetText(0, "  123: 45");
  bar.SetText(1, "6789ﾊﾞｲﾄ");
  bar.Repaint();
  RECT left;
  EXPECT_FALSE(GetUpdateRect(bar.hwnd(), &left, FALSE)) << "nothing is left for WM_PAINT";
  std::vector<std::uint32_t> at_once = StatusPixels(bar.hwnd());
  EXPECT_NE(at_once, before);
  RedrawWindow(bar.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(at_once, StatusPixels(bar.hwnd()));
}

TEST(MainWindowTest, TheTenWindowsExistWithTheirCaptions) {
  AppHarness h;
  h.Start();
  struct Row { const char* class_name; const char* caption; } rows[] = {
      {"TMainForm", "TeX Quillet"},     {"TInput", "ｺﾏﾝﾄﾞ入力"},         {"TPagesDlg", "TeXの設定"},
      {"TPagesDlg1", "環境設定"},       {"TErrorWin", "ｴﾗｰﾒｯｾｰｼﾞ"},      {"TTitleForm", "ﾊﾞｰｼﾞｮﾝ情報"},
      {"TDocExpDlg", "文書作成ｳｨｻﾞｰﾄﾞ"}, {"TJumpDlg", "指定行へｼﾞｬﾝﾌﾟ"}, {"TMacroDlg", "定型ﾏｸﾛの挿入"},
      {"TSectionDlg", "見出しの検索"},
  };
  for (auto r : rows) {
    HWND w = FindWindowA(r.class_name, nullptr);
    ASSERT_NE(w, nullptr) << r.class_name;
    EXPECT_EQ(WindowText(w), r.caption);
  }
  // After start-up only the main window is visible; the splash is gone.
  EXPECT_TRUE(IsWindowVisible(h.main().hwnd()));
  for (const char* hidden : {"TTitleForm", "TErrorWin", "TPagesDlg1", "TPagesDlg"}) {
    EXPECT_FALSE(IsWindowVisible(FindWindowA(hidden, nullptr))) << hidden;
  }
  // Client sizes as designed.
  struct Size { const char* class_name; int w, h; } sizes[] = {
      {"TPagesDlg", 421, 295}, {"TPagesDlg1", 536, 295}, {"TTitleForm", 383, 176}, {"TDocExpDlg", 505, 279},
      {"TJumpDlg", 149, 74},   {"TMacroDlg", 486, 206},  {"TSectionDlg", 394, 225},
  };
  for (auto s : sizes) {
    RECT c;
    GetClientRect(FindWindowA(s.class_name, nullptr), &c);
    EXPECT_EQ(c.right, s.w) << s.class_name;
    EXPECT_EQ(c.bottom, s.h) << s.class_name;
  }
  RECT error;
  GetWindowRect(h.app().ErrorWin().hwnd(), &error);
  EXPECT_EQ(error.right - error.left, 435);
  EXPECT_EQ(error.bottom - error.top, 135);
  EXPECT_TRUE(GetWindowLongA(h.app().ErrorWin().hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(MainWindowTest, ViewCommandsShowAndHideTheBarsAndTheErrorWindow) {
  AppHarness h;
  h.Start();
  RECT before, after;
  GetWindowRect(h.main().mdi_client(), &before);
  h.Command(kToolBarItem);
  EXPECT_FALSE(h.Item("ToolBarItem").checked());
  EXPECT_FALSE(IsWindowVisible(h.main().speed_panel().hwnd()));
  GetWindowRect(h.main().mdi_client(), &after);
  EXPECT_EQ(after.top, before.top - 32);  // the documents take the bar's place
  h.Command(kStatusBarItem);
  EXPECT_FALSE(h.Item("StatusBarItem").checked());
  EXPECT_FALSE(IsWindowVisible(h.main().status_bar().hwnd()));
  h.Command(kToolBarItem);
  h.Command(kStatusBarItem);
  EXPECT_TRUE(IsWindowVisible(h.main().speed_panel().hwnd()));
  EXPECT_TRUE(IsWindowVisible(h.main().status_bar().hwnd()));

  HWND error = h.app().ErrorWin().hwnd();
  h.Command(kErrMesItem);
  EXPECT_TRUE(h.Item("ErrMesItem").checked());
  EXPECT_TRUE(IsWindowVisible(error));
  // Closing the error window by its own close box clears the check mark.
  SendMessageA(error, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(IsWindowVisible(error));
  EXPECT_FALSE(h.Item("ErrMesItem").checked());
  EXPECT_TRUE(IsWindow(error));  // hidden, not destroyed
}

TEST(MainWindowTest, HelpOpensTheContentsAndQuitsWithTheProgram) {
  AppHarness h;
  h.Start();
  h.Command(kSearchforHelpOnItem);
  HWND contents = h.app().help_engine().contents_window();
  ASSERT_NE(contents, nullptr) << h.messages.Texts();
  EXPECT_TRUE(IsWindowVisible(contents));
  // The tool button asks for the same.
  SendMessageA(h.main().hwnd(), WM_COMMAND, MAKEWPARAM(kSearchforHelpOnItem, BN_CLICKED),
               reinterpret_cast<LPARAM>(h.main().speed_panel().hwnd()));
  EXPECT_EQ(h.app().help_engine().contents_window(), contents);
  h.Close();
  EXPECT_FALSE(IsWindow(contents));
}

// Windows without a stored place open where they cover neither the menu bar nor the tool
// bar: the error window in the lower left of the document area, the help centred.
TEST(MainWindowTest, FloatingWindowsOpenClearOfTheMenusAndToolBar) {
  AppHarness h;
  h.Start();
  RECT bar, documents, errors, help;
  GetWindowRect(h.main().speed_panel().hwnd(), &bar);
  GetWindowRect(h.main().mdi_client(), &documents);
  h.Command(kErrMesItem);
  GetWindowRect(h.app().ErrorWin().hwnd(), &errors);
  EXPECT_GE(errors.top, bar.bottom);
  EXPECT_EQ(errors.left, documents.left);
  EXPECT_EQ(errors.bottom, documents.bottom);
  h.Command(kSearchforHelpOnItem);
  GetWindowRect(h.app().help_engine().contents_window(), &help);
  EXPECT_GE(help.top, bar.bottom);
  EXPECT_EQ(help.left, (GetSystemMetrics(SM_CXSCREEN) - (help.right - help.left)) / 2);
  // Moved by the user, the error window comes back where it was left.
  SetWindowPos(h.app().ErrorWin().hwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  h.Command(kErrMesItem);
  h.Command(kErrMesItem);
  GetWindowRect(h.app().ErrorWin().hwnd(), &errors);
  EXPECT_EQ(errors.left, 300);
}

TEST(MainWindowTest, AMissingHelpFileIsReported) {
  AppHarness h;
  h.help_file = "nowhere-to-be-found.hlp";
  h.Start();
  h.Command(kSearchforHelpOnItem);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].kind, MsgKind::Error);
  EXPECT_NE(h.messages.shown[0].text.find("nowhere-to-be-found.hlp"), std::string::npos);
}

// Each shipped program names itself, its product and one version in its resource;
// the program carries its icons.
TEST(MainWindowTest, EveryShippedProgramCarriesAVersionResource) {
  std::string version = ResourceString("Quillet.exe", "ProductVersion");
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
  for (const char* exe : {"Quillet.exe", "quillet-tex.exe", "quillet-dvi.exe"}) {
    EXPECT_EQ(ResourceString(exe, "ProductName"), "TeX Quillet") << exe;
    EXPECT_EQ(ResourceString(exe, "FileVersion"), version) << exe;
    EXPECT_EQ(ResourceString(exe, "OriginalFilename"), exe) << exe;
    EXPECT_TRUE(ResourceString(exe, "FileDescription").starts_with("TeX Quillet ")) << exe;
  }
  EXPECT_EQ(ResourceString("Quillet.exe", "FileDescription"), "TeX Quillet 日本語 TeX 文書エディタ");
  // Its icons: the program's, then the one .tex files take.
  EXPECT_EQ(ExtractIconExA("Quillet.exe", -1, nullptr, nullptr, 0), 2u);
}

TEST(MainWindowTest, TheAboutBoxKeepsItsButtonAndBorderOnceShown) {
  AppHarness h;
  h.Start();
  TTitleForm& title = h.app().TitleForm();
  EXPECT_FALSE(GetWindowLongA(title.hwnd(), GWL_STYLE) & WS_CAPTION);  // the splash had no border
  bool seen_visible = false, seen_button = false;
  std::string version, settings;
  WhenModal([&] {
    seen_visible = IsWindowVisible(title.hwnd());
    seen_button = IsWindowVisible(title.Button1) && IsWindowVisible(title.VersionLabel);
    version = WindowText(title.VersionLabel);
    settings = WindowText(title.SettingsLabel);
    SendMessageA(title.hwnd(), WM_COMMAND, IDOK, 0);
  });
  h.Command(kHelpAboutItem);
  EXPECT_TRUE(seen_visible);
  EXPECT_TRUE(seen_button);
  // The version every shipped program carries, and the settings file in use.
  EXPECT_EQ(version, "ﾊﾞｰｼﾞｮﾝ " + ResourceString("Quillet.exe", "ProductVersion"));
  EXPECT_EQ(settings, "設定ﾌｧｲﾙ:\r\n" + h.ini_path());
  EXPECT_FALSE(IsWindowVisible(title.hwnd()));
  EXPECT_TRUE(GetWindowLongA(title.hwnd(), GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(title.bevel_width(), 1);
  RECT c;
  GetClientRect(title.hwnd(), &c);
  EXPECT_EQ(c.bottom, 166 + 10);
  EXPECT_FALSE(IsWindowVisible(h.app().Input().hwnd()));  // no document: no palette
}

TEST(MainWindowTest, ThePaletteHidesForTheAboutBoxAndComesBackAfterIt) {
  AppHarness h;
  std::string path = h.MakeFile("a.tex", "x");
  h.Start({path});
  HWND palette = h.app().Input().hwnd();
  ASSERT_TRUE(IsWindowVisible(palette));
  bool hidden_meanwhile = false;
  WhenModal([&] {
    hidden_meanwhile = !IsWindowVisible(palette);
    SendMessageA(h.app().TitleForm().hwnd(), WM_COMMAND, IDOK, 0);
  });
  h.Command(kHelpAboutItem);
  EXPECT_TRUE(hidden_meanwhile);
  EXPECT_TRUE(IsWindowVisible(palette));
}


// A window of the program whose handler fails the way the test says.
class FailingWindow : public Window {
 public:
  std::function<void()> fail;
  bool Create() { return CreateWin({.class_name = "QuilletFailingTest", .style = WS_POPUP}); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg != WM_APP) return Window::HandleMessage(msg, wp, lp);
    fail();
    return 1;
  }
};

TEST(MainWindowTest, AFailureInsideAWindowIsReportedAndTheProgramCarriesOn) {
  AppHarness h;
  h.Start();
  FailingWindow window;
  ASSERT_TRUE(window.Create());
  struct Row { const char* what; std::function<void()> fail; std::string text; } rows[] = {
      {"a menu item the menu does not hold", [&] { h.main().menu().Item(9999); },
       "内部ｴﾗｰが発生しました。\r(menu item 9999 is not in the menu)"},
      {"out of memory", [] { throw std::bad_alloc(); }, "ﾒﾓﾘが不足しているため、操作を完了できません。"},
      {"not a standard exception", [] { throw 42; }, "内部ｴﾗｰが発生しました。"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    h.messages.shown.clear();
    window.fail = row.fail;
    EXPECT_EQ(SendMessageA(window.hwnd(), WM_APP, 0, 0), 0);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(h.messages.shown[0].text, row.text);
  }
  h.NewBlankDocument();
  EXPECT_EQ(h.main().Children().size(), 1u);
}

}  // namespace
}  // namespace quillet::test
