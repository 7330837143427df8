// Find and replace through the platform's dialogs, F3, the jumps and undo-all, driven
// through the real menus, dialogs and editor.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/command_ids.h"
#include "document/jump_dialog_win.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "win/controls_win.h"

namespace quillet::test {
namespace {

// Opens the Edit menu, as the user does before choosing undo-all.
void OpenEditMenu(AppHarness& h) {
  HWND main = h.main().hwnd();
  SendMessageA(main, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(main), 1)), 1);
}

struct FindFixture : ::testing::Test {
  AppHarness h;
  std::string path;

  void Open(const std::string& text) {
    path = h.MakeFile("a.tex", text);
    h.Start({path});
  }
  HWND Editor() { return h.main().ActiveChild()->Memo; }
  void Select(long start, long end) { SendMessageA(Editor(), EM_SETSEL, static_cast<WPARAM>(start), end); }
  std::pair<long, long> Sel() {
    Range r = EditorSelection(Editor());
    return {r.start, r.end};
  }
  HWND FindDialog() { return h.main().finder().find_dialog(); }
  HWND ReplaceDialog() { return h.main().finder().replace_dialog(); }
  // Fills a dialog as the user would and presses one of its buttons.
  void Press(HWND dialog, int button, const std::string& what, bool match_case = false, const std::string& with = "") {
    SetDlgItemTextA(dialog, edt1, what.c_str());
    if (GetDlgItem(dialog, edt2)) SetDlgItemTextA(dialog, edt2, with.c_str());
    CheckDlgButton(dialog, chx2, match_case ? BST_CHECKED : BST_UNCHECKED);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    PumpMessages();
  }
  void FindNext(const std::string& what, bool match_case = false) {
    h.Command(kFindStrItem);
    ASSERT_TRUE(FindDialog());
    Press(FindDialog(), IDOK, what, match_case);
  }
  void Replace(int button, const std::string& what, const std::string& with) {
    h.Command(kReplaceStrItem);
    ASSERT_TRUE(ReplaceDialog());
    Press(ReplaceDialog(), button, what, false, with);
  }
  std::string Shown() {
    std::string texts = h.messages.Texts();
    h.messages.shown.clear();
    return texts;
  }
};

TEST_F(FindFixture, FindNextGoesForwardFromTheSelectionOnWholeCharacters) {
  Open("ア表\\AヂaB\r\nxab\\");
  struct Row { const char* what; bool match_case; long from; std::pair<long, long> sel; const char* message; } rows[] = {
      {"A", false, 0, {5, 6}, ""},        // not the trail byte of "ア" (0x83 0x41)
      {"a", false, 6, {8, 9}, ""},        // nor that of "ヂ" (0x83 0x61)
      {"\\", true, 0, {4, 5}, ""},        // nor that of "表" (0x95 0x5C)
      {"ab", true, 0, {13, 15}, ""},
      {"AB", true, 0, {0, 0}, "文字列 'AB' は見つかりませんでした。\n"},
      {"ヂ", true, 0, {6, 8}, ""},
      {"x", false, 14, {14, 14}, "文字列 'x' は見つかりませんでした。\n"},  // no wrap-around
      {"\\", true, 16, {16, 16}, "文字列 '\\' は見つかりませんでした。\n"},  // at the end
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Select(r.from, r.from);
    FindNext(r.what, r.match_case);
    EXPECT_EQ(Sel(), r.sel);
    EXPECT_EQ(Shown(), r.message);
  }
  // Find Next again goes on from the end of what it found.
  Select(0, 0);
  FindNext("a");
  Press(FindDialog(), IDOK, "a");
  EXPECT_EQ(Sel(), (std::pair<long, long>{8, 9}));
}

TEST_F(FindFixture, TheDialogsKeepTheirOwnTextsAndCloseEachOther) {
  std::string long_selection = std::string(254, 'x') + "表";  // 256 bytes: 255 would split "表"
  Open(long_selection + "\r\nab ab");
  // F3 with nothing to find opens the Find dialog.
  h.Command(kNextItem);
  ASSERT_TRUE(FindDialog());
  // A selection becomes the find text, cut on a character boundary.
  Select(0, 256);
  h.Command(kFindStrItem);
  char text[300] = {};
  GetDlgItemTextA(FindDialog(), edt1, text, sizeof(text));
  EXPECT_EQ(std::string(text), std::string(254, 'x'));
  // Opening the Replace dialog closes the Find dialog; F3 still uses the Find dialog's text.
  Press(FindDialog(), IDOK, "ab");
  h.Command(kReplaceStrItem);
  PumpMessages(100);
  EXPECT_FALSE(IsWindow(FindDialog()));
  ASSERT_TRUE(ReplaceDialog());
  SetDlgItemTextA(ReplaceDialog(), edt1, "zzz");
  Select(0, 0);
  h.Command(kNextItem);
  PumpMessages(100);
  EXPECT_FALSE(IsWindow(ReplaceDialog()));
  EXPECT_EQ(Sel(), (std::pair<long, long>{258, 260}));
  EXPECT_EQ(Shown(), "");
  // With no selection the dialog shows the text it kept.
  Select(0, 0);
  h.Command(kFindStrItem);
  GetDlgItemTextA(FindDialog(), edt1, text, sizeof(text));
  EXPECT_STREQ(text, "ab");
}

// A text typed past what the dialog keeps is searched for as its first whole characters
// within 255 bytes.
TEST_F(FindFixture, ATypedTextIsCutOnACharacterBoundary) {
  std::string kana;
  for (int i = 0; i < 150; ++i) kana += "ア";
  std::string text = "x";
  text.append(kana, 0, 254);
  text += "x";
  Open(text);
  FindNext(kana);
  EXPECT_EQ(Sel(), (std::pair<long, long>{1, 255}));
  EXPECT_EQ(Shown(), "");
}

TEST_F(FindFixture, ReplaceWorksAfterTheSelectionAndCountsWhatItReplaced) {
  struct Row { const char* what; const char* start; long from, to; int button; const char* find; const char* with;
               const char* text; std::pair<long, long> sel; const char* message; } rows[] = {
      {"each a once", "a-a-a", 0, 0, psh2, "a", "aa", "aa-aa-aa", {6, 8}, "3個の文字列を置換しました。\n"},
      {"empty replace text", "xaxa", 0, 0, psh1, "a", "", "xxa", {1, 1}, ""},
      {"after a found one", "ab ab ab", 0, 2, psh1, "ab", "X", "ab X ab", {3, 4}, ""},
      {"before the selection stays", "ab ab", 3, 3, psh2, "ab", "X", "ab X", {3, 4}, "1個の文字列を置換しました。\n"},
      {"none left", "ab", 2, 2, psh1, "ab", "X", "ab", {2, 2}, "文字列はもうありません。\n"},
      {"none at all", "ab", 0, 0, psh2, "zz", "X", "ab", {0, 0}, "0個の文字列を置換しました。\n"},
      {"double-byte", "表示ア表", 0, 0, psh2, "表", "ひょう", "ひょう示アひょう", {10, 16}, "2個の文字列を置換しました。\n"},
      // Taking the blank after a lone lead byte would join it to the next character.
      {"a refused one is passed over", "caf\xE9 au lait", 0, 0, psh2, " ", "", "caf\xE9 aulait", {7, 7},
       "1個の文字列を置換しました。\n"},
      {"refused at the same length", "caf\xE9 au lait", 0, 0, psh2, " ", "x", "caf\xE9 auxlait", {7, 8},
       "1個の文字列を置換しました。\n"},
      {"one replaced after a refused one", "caf\xE9 au lait", 0, 0, psh1, " ", "", "caf\xE9 aulait", {7, 7}, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    AppHarness fresh;
    std::string file = fresh.MakeFile("r.tex", r.start);
    fresh.Start({file});
    HWND editor = fresh.main().ActiveChild()->Memo;
    SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(r.from), r.to);
    fresh.Command(kReplaceStrItem);
    HWND dialog = fresh.main().finder().replace_dialog();
    ASSERT_TRUE(dialog);
    SetDlgItemTextA(dialog, edt1, r.find);
    SetDlgItemTextA(dialog, edt2, r.with);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(r.button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, r.button)));
    PumpMessages();
    EXPECT_EQ(EditorText(editor), r.text);
    Range sel = EditorSelection(editor);
    EXPECT_EQ((std::pair<long, long>{sel.start, sel.end}), r.sel);
    EXPECT_EQ(fresh.messages.Texts(), r.message);
  }
}

// Replace All holds the display and the status bar for the whole run, and ends as
// replacing one by one ends.
TEST_F(FindFixture, ReplaceAllEndsAsReplacingOneByOneEnds) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line ＝＝ \\section{章} end\r\n";
  Open(text);
  Replace(psh2, "章", "節");
  std::string all = EditorText(Editor());
  auto all_sel = Sel();
  std::string size = h.Panel(1), caret = h.Panel(0), modified = h.Panel(2);
  EXPECT_EQ(Shown(), "200個の文字列を置換しました。\n");

  AppHarness one;
  one.Start({h.MakeFile("b.tex", text)});
  HWND editor = one.main().ActiveChild()->Memo;
  one.Command(kReplaceStrItem);
  HWND dialog = one.main().finder().replace_dialog();
  SetDlgItemTextA(dialog, edt1, "章");
  SetDlgItemTextA(dialog, edt2, "節");
  for (int i = 0; i < 200; ++i) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(psh1, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, psh1)));
  }
  PumpMessages();
  EXPECT_EQ(EditorText(editor), all);
  Range sel = EditorSelection(editor);
  EXPECT_EQ((std::pair<long, long>{sel.start, sel.end}), all_sel);
  EXPECT_EQ(one.Panel(1), size);
  EXPECT_EQ(one.Panel(0), caret);
  EXPECT_EQ(one.Panel(2), modified);
  EXPECT_EQ(SendMessageA(editor, EM_CANUNDO, 0, 0), SendMessageA(Editor(), EM_CANUNDO, 0, 0));
  EXPECT_TRUE(one.messages.shown.empty());
}

TEST_F(FindFixture, TheDialogsTakeTheirKeysWhileTheyHaveTheFocus) {
  Open("abc abc");
  h.Command(kFindStrItem);
  HWND dialog = FindDialog();
  ASSERT_TRUE(dialog);
  HWND box = GetDlgItem(dialog, edt1);
  SetFocus(box);
  SetWindowTextA(box, "abc");
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);  // Enter: Find Next
  PumpMessages(100);
  EXPECT_EQ(Sel(), (std::pair<long, long>{0, 3}));
  PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);  // Esc: the dialog closes
  PumpMessages(100);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(EditorText(Editor()), "abc abc");  // no key reached the document
}

TEST_F(FindFixture, JumpToALineReadsTheNumberAndStaysInRange) {
  struct Row { const char* text; const char* typed; const char* range; long caret; bool warned; } rows[] = {
      {"", "1", "移動先(1～1)", 0, false},
      {"a\r\nb\r\nc\r\n", "4", "移動先(1～4)", 9, false},   // the empty line after the last break
      {"a\r\nb\r\nc", "4", "移動先(1～4)", 7, false},        // no line 4: the end of the text
      {"a\r\nb\r\nc", "$2", "移動先(1～4)", 3, false},
      {"a\r\nb\r\nc", " +3", "移動先(1～4)", 6, false},
      {"a\r\nb\r\nc", "5", "移動先(1～4)", 1, true},
      {"a\r\nb\r\nc", "0", "移動先(1～4)", 1, true},
      {"a\r\nb\r\nc", "-1", "移動先(1～4)", 1, true},
      {"a\r\nb\r\nc", "二", "移動先(1～4)", 1, true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.typed);
    AppHarness fresh;
    fresh.Start({fresh.MakeFile("j.tex", r.text)});
    HWND editor = fresh.main().ActiveChild()->Memo;
    SendMessageA(editor, EM_SETSEL, 0, 1);
    TJumpDlg& dialog = fresh.app().JumpDlg();
    std::string range;
    bool enabled_empty = true;
    RECT place{};
    WhenModal([&] {
      GetWindowRect(dialog.hwnd(), &place);
      range = ControlText(dialog.JumpRange);
      enabled_empty = IsWindowEnabled(dialog.Button1) != FALSE;
      SetControlText(dialog.JumpLine, r.typed);
      SendMessageA(dialog.Button1, BM_CLICK, 0, 0);
    });
    fresh.Command(kJumptoItem);
    EXPECT_EQ(range, r.range);
    EXPECT_FALSE(enabled_empty);
    EXPECT_EQ(place.left, (GetSystemMetrics(SM_CXSCREEN) - (place.right - place.left)) / 2);
    EXPECT_EQ(place.top, (GetSystemMetrics(SM_CYSCREEN) - (place.bottom - place.top)) / 2);
    Range sel = EditorSelection(editor);
    EXPECT_EQ(sel.end, r.caret);
    EXPECT_EQ(sel.start, r.warned ? 0 : r.caret);
    EXPECT_EQ(fresh.messages.Texts(), r.warned ? "指定した行数が範囲外です。\n" : "");
  }
}

TEST_F(FindFixture, JumpsToTheTopAndTheEndLeaveACaret) {
  Open("ab\r\ncd\r\n");
  Select(1, 4);
  h.Command(kJumpEndItem);
  EXPECT_EQ(Sel(), (std::pair<long, long>{8, 8}));
  EXPECT_EQ(h.Panel(0), "    3:   1");
  h.Command(kJumpTopItem);
  EXPECT_EQ(Sel(), (std::pair<long, long>{0, 0}));
}

TEST_F(FindFixture, UndoAllReadsTheSavedFileAgain) {
  Open("saved\r\ntext");
  Type(Editor(), "new ");
  OpenEditMenu(h);
  EXPECT_TRUE(h.Item("UndoAllItem").enabled());
  h.messages.answers = {MsgResult::No};
  h.Command(kUndoAllItem);
  OpenEditMenu(h);
  EXPECT_EQ(EditorText(Editor()), "new saved\r\ntext");
  EXPECT_EQ(h.Panel(2), "変更");
  h.messages.answers = {MsgResult::Yes};
  h.Command(kUndoAllItem);
  ASSERT_EQ(h.messages.shown.size(), 2u);
  EXPECT_EQ(h.messages.shown[1].text, "今までの変更内容がすべて消去されますがよろしいですか?");
  EXPECT_EQ(h.messages.shown[1].buttons, kMsgYes | kMsgNo);
  EXPECT_EQ(EditorText(Editor()), "saved\r\ntext");
  EXPECT_EQ(Sel(), (std::pair<long, long>{0, 0}));
  EXPECT_EQ(h.Panel(2), "");
  EXPECT_EQ(h.Panel(1), "11ﾊﾞｲﾄ");
  EXPECT_FALSE(h.main().ActiveChild()->modified());
  EXPECT_FALSE(h.Item("FileSaveItem").enabled());
  // Nothing changed: the item is off when the menu opens.
  OpenEditMenu(h);
  EXPECT_FALSE(h.Item("UndoAllItem").enabled());
}

TEST_F(FindFixture, UndoAllOfAFileThatCannotBeReadChangesNothing) {
  struct Row { const char* what; std::string on_disk; bool remove; std::string message; } rows[] = {
      {"removed", "x", true, " は存在しません。"},
      {"not text", std::string("a\0b", 3), false, " はﾃｷｽﾄﾌｧｲﾙではありません"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    AppHarness fresh;
    std::string file = fresh.MakeFile("u.tex", "text");
    fresh.Start({file});
    HWND editor = fresh.main().ActiveChild()->Memo;
    Type(editor, "typed ");
    if (r.remove) DeleteFileA(file.c_str());
    else WriteFileBytes(file, r.on_disk);
    fresh.messages.answers = {MsgResult::Yes};
    OpenEditMenu(fresh);
    fresh.Command(kUndoAllItem);
    ASSERT_EQ(fresh.messages.shown.size(), 2u);
    EXPECT_NE(fresh.messages.shown[1].text.find(r.message), std::string::npos) << fresh.messages.shown[1].text;
    EXPECT_EQ(EditorText(editor), "typed text");
    EXPECT_TRUE(fresh.main().ActiveChild()->modified());
  }
  // A document never saved is emptied.
  AppHarness blank;
  blank.Start();
  blank.NewBlankDocument();
  Type(blank.main().ActiveChild()->Memo, "draft");
  blank.messages.answers = {MsgResult::Yes};
  OpenEditMenu(blank);
  blank.Command(kUndoAllItem);
  EXPECT_EQ(EditorText(blank.main().ActiveChild()->Memo), "");
}

}  // namespace
}  // namespace quillet::test
