// The command palette through its real window: the list read from command.db, the
// description, the insertion into the document, the sorts and the splitter.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <vector>

#include "aids/command_palette_win.h"
#include "document/mdi_child_win.h"
#include "app/shipped_content_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/linux_run.h"
#include "win/controls_win.h"

namespace quillet::test {
namespace {

struct PaletteFixture : ::testing::Test {
  AppHarness h;
  TInput& Palette() { return h.app().Input(); }
  HWND Editor() { return h.main().ActiveChild()->Memo; }
  void Load(const std::string& db) { Palette().LoadCommands(h.MakeFile("command.db", db)); }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const CommandEntry& e : Palette().commands()) names.push_back(e.name);
    return names;
  }
  // Selects the entry as a click does (the list tells the palette).
  void Select(const std::string& name) {
    auto& all = Palette().commands();
    auto index = std::find_if(all.begin(), all.end(), [&](const CommandEntry& e) { return e.name == name; }) - all.begin();
    ListView_SetItemState(Palette().ListView1, static_cast<int>(index), LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
  std::string SelectedName() {
    int i = ListView_GetNextItem(Palette().ListView1, -1, LVNI_SELECTED);
    return i < 0 ? "(none)" : Palette().commands()[static_cast<std::size_t>(i)].name;
  }
  // The rich edit counts characters, not bytes, in its text length: read into room enough.
  std::string Description() {
    char text[1024] = {};
    SendMessageA(Palette().Memo, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
  }
  // Bold and underlined, as the description pane shows the character at pos.
  DWORD Effects(long pos) {
    SendMessageA(Palette().Memo, EM_SETSEL, pos, pos + 1);
    CHARFORMAT2A f{};
    f.cbSize = sizeof(f);
    SendMessageA(Palette().Memo, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    return f.dwEffects & (CFE_BOLD | CFE_UNDERLINE);
  }
  RECT Child(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, Palette().hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  // Gives the palette a client area of the given height.
  void SetClientHeight(int height) {
    RECT outer, client;
    GetWindowRect(Palette().hwnd(), &outer);
    GetClientRect(Palette().hwnd(), &client);
    SetWindowPos(Palette().hwnd(), nullptr, 0, 0, outer.right - outer.left,
                 outer.bottom - outer.top - client.bottom + height, SWP_NOMOVE | SWP_NOZORDER);
  }
  // top and height of the list, the splitter and the description pane
  std::vector<long> Layout() {
    std::vector<long> out;
    for (HWND c : {Palette().ListView1, Palette().Panel1.hwnd(), Palette().Memo}) {
      RECT r = Child(c);
      out.insert(out.end(), {r.top, r.bottom - r.top});
    }
    return out;
  }
  void Mouse(UINT msg, WPARAM keys, int y) { SendMessageA(Palette().Panel1.hwnd(), msg, keys, MAKELPARAM(5, y)); }
};

constexpr const char* kDb =
    "%% 見出し\r\n"
    "section,,見出し,節の見出しを出力\r\n"
    "kanjiskip,,和文,和文字間の空き\r\n"
    "%% 数式\r\n"
    "alpha,,数式,ギリシャ文字α,小文字\r\n"
    "\r\n"
    "Alpha,,数式,大文字\r\n";

TEST_F(PaletteFixture, SelectingShowsTheDescriptionAndADoubleClickTypesTheCommand) {
  h.Start({h.MakeFile("d.tex", "ab")});
  Load(kDb);
  EXPECT_EQ(Names(), (std::vector<std::string>{"", "alpha", "Alpha", "kanjiskip", "section"}));
  EXPECT_EQ(ListView_GetItemCount(Palette().ListView1), 5);
  Select("alpha");
  EXPECT_EQ(Description(), "\\alpha\r\nギリシャ文字α");  // the fifth field is ignored
  Select("section");
  EXPECT_EQ(Description(), "\\section\r\n節の見出しを出力");
  EXPECT_EQ(Effects(0), static_cast<DWORD>(CFE_BOLD | CFE_UNDERLINE));
  EXPECT_EQ(Effects(7), static_cast<DWORD>(CFE_BOLD | CFE_UNDERLINE));
  EXPECT_EQ(Effects(10), 0u);
  SendMessageA(Editor(), EM_SETSEL, 2, 2);
  Palette().ListView1DblClick();
  EXPECT_EQ(EditorText(Editor()), "ab\\section");
  Range sel = EditorSelection(Editor());
  EXPECT_EQ(std::make_pair(sel.start, sel.end), std::make_pair(10L, 10L));
  EXPECT_FALSE(SendMessageA(Editor(), EM_CANUNDO, 0, 0));
  EXPECT_EQ(GetFocus(), Editor());
  // The empty line's entry types a lone backslash over the selection.
  Select("");
  EXPECT_EQ(Description(), "\\\r\n");
  SendMessageA(Editor(), EM_SETSEL, 0, 2);
  Palette().ListView1DblClick();
  EXPECT_EQ(EditorText(Editor()), "\\\\section");
  ListView_SetItemState(Palette().ListView1, -1, 0, LVIS_SELECTED);
  EXPECT_EQ(Description(), "");
  Palette().ListView1DblClick();  // nothing selected: nothing typed
  EXPECT_EQ(EditorText(Editor()), "\\\\section");
}

// Real key presses, through the X server, into the palette's list: typed letters move to
// the first command that begins with them, Enter types it as a double-click does, and
// Shift+Enter types it with its mandatory arguments, the first placeholder selected.
TEST_F(PaletteFixture, TypedLettersFindACommandAndEnterTypesIt) {
  h.Start({h.MakeFile("d.tex", "")});
  Load("section,[短い見出し]{見出し},見出し,節\r\nsubsection,[短い見出し]{見出し},見出し,小節\r\n"
       "subsubsection,[短い見出し]{見出し},見出し,小小節\r\ntextbf,{文字},書体,太字\r\n");
  ShowWindow(Palette().hwnd(), SW_SHOW);
  auto press = [&](const std::string& keys) {
    SetForegroundWindow(Palette().hwnd());
    SetFocus(Palette().ListView1);
    RunOnLinux(h.dir().path(), KeysScript(Palette().hwnd(), keys), "");
    PumpMessages(300);
  };
  press("s u b s");
  EXPECT_EQ(SelectedName(), "subsection");
  press("Return");
  EXPECT_EQ(EditorText(Editor()), "\\subsection");
  EXPECT_EQ(GetFocus(), Editor());
  SendMessageA(Editor(), EM_SETSEL, 0, -1);
  press("t shift+Return");
  EXPECT_EQ(EditorText(Editor()), "\\textbf{文字}");
  Range sel = EditorSelection(Editor());
  EXPECT_EQ(std::make_pair(sel.start, sel.end), std::make_pair(8L, 12L));  // "文字"
}

TEST_F(PaletteFixture, ColumnClicksSortByKindThenByNameKeepingTheSelection) {
  h.Start();
  Load(kDb);
  Select("kanjiskip");
  Palette().ListView1ColumnClick(1);
  std::vector<std::string> kinds;
  for (const CommandEntry& e : Palette().commands()) kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{"", "見出し", "数式", "数式", "和文"}));
  EXPECT_EQ(SelectedName(), "kanjiskip");
  Palette().ListView1ColumnClick(1);  // no reverse order
  EXPECT_EQ(Palette().commands().back().kind, "和文");
  Palette().ListView1ColumnClick(0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"", "alpha", "Alpha", "kanjiskip", "section"}));
  EXPECT_EQ(SelectedName(), "kanjiskip");
  // A missing file leaves the list as it was loaded.
  Palette().LoadCommands(h.dir() / "none.db");
  EXPECT_EQ(Palette().commands().size(), 5u);
}

TEST_F(PaletteFixture, ACommandFileTooLargeOrUnreadableIsToldAboutAndLeavesTheListAlone) {
  h.Start();
  h.main().HomeDirectory = h.dir().path();
  std::size_t before = Palette().commands().size();
  std::string line = "alpha\t数式\tα\t" + std::string(100, 'd') + "\r\n";
  std::string db;
  while (db.size() <= (4u << 20)) db += line;
  std::string path = h.MakeFile("command.db", db);
  LoadCommandList(h.app());
  EXPECT_EQ(h.messages.Texts(), "ｺﾏﾝﾄﾞﾌｧｲﾙ " + path + " は大きすぎるため読み込めません。\n");
  EXPECT_EQ(Palette().commands().size(), before);
  // Held open without sharing by another program.
  h.messages.shown.clear();
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  LoadCommandList(h.app());
  CloseHandle(held);
  EXPECT_EQ(h.messages.Texts(), "ｺﾏﾝﾄﾞﾌｧｲﾙ " + path + " を読み込めません。\n");
  DeleteFileA(path.c_str());
  h.messages.shown.clear();
  LoadCommandList(h.app());  // the one beside the program again: no news
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
}

TEST_F(PaletteFixture, TheSplitterSharesTheClientHeightAndADragSetsTheRatio) {
  h.Start({h.MakeFile("d.tex", "")});
  SetClientHeight(200);
  EXPECT_EQ(Layout(), (std::vector<long>{0, 150, 150, 3, 153, 47}));
  Palette().list_ratio = 100;
  Palette().FormResize();
  EXPECT_EQ(Layout(), (std::vector<long>{0, 197, 197, 3, 200, 0}));
  Palette().list_ratio = 50;
  Palette().FormResize();
  // Shift held, or no left button: no drag.
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 1);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 21);
  Mouse(WM_LBUTTONUP, MK_SHIFT, 21);
  EXPECT_EQ(Palette().list_ratio, 50);
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 1);
  EXPECT_EQ(GetCapture(), Palette().Panel1.hwnd());
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, 40);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, 20);
  Mouse(WM_LBUTTONUP, 0, 20);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Palette().list_ratio, 60);
  EXPECT_EQ(Layout(), (std::vector<long>{0, 120, 120, 3, 123, 77}));
  // Dragged far above the window: the list shrinks to nothing.
  Mouse(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  Mouse(WM_MOUSEMOVE, MK_LBUTTON, -500);
  Mouse(WM_LBUTTONUP, 0, -500);
  EXPECT_EQ(Palette().list_ratio, 0);
  EXPECT_EQ(Layout()[1], 0);
  // Too small a palette snaps back to the least size.
  SetWindowPos(Palette().hwnd(), nullptr, 0, 0, 80, 120, SWP_NOMOVE | SWP_NOZORDER);
  RECT outer;
  GetWindowRect(Palette().hwnd(), &outer);
  EXPECT_EQ(std::make_pair(outer.right - outer.left, outer.bottom - outer.top), std::make_pair(100L, 150L));
  h.Close();
  EXPECT_EQ(h.IniValue("ComInput", "ListViewRatio"), "0");
}

// What ships beside the program is read at start-up: real entries, sorted by name.
TEST_F(PaletteFixture, TheShippedCommandListIsLoadedAtStartUp) {
  h.Start();
  const auto& all = Palette().commands();
  ASSERT_GE(all.size(), 400u);
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const CommandEntry& a, const CommandEntry& b) {
    return lstrcmpA(a.name.c_str(), b.name.c_str()) < 0;
  }));
  for (const CommandEntry& e : all) {
    EXPECT_FALSE(e.name.empty() || e.kind.empty() || e.description.empty()) << e.name;
  }
}

}  // namespace
}  // namespace quillet::test
