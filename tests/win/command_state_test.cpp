// Which commands are enabled: each command's item, button and pop-up entry alike, and a
// disabled command refused whichever way it is asked for.
#include <windows.h>

#include <richedit.h>
#include <gtest/gtest.h>

#include "aids/command_palette_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/linux_run.h"

namespace quillet::test {
namespace {

// In every state a first hour goes through, each command's menu item, tool button and
// pop-up entry show it enabled alike.
TEST(CommandStateTest, EveryCommandsItemButtonAndPopupEntryAgree) {
  AppHarness h;
  h.Start();
  SpeedPanel& bar = h.main().speed_panel();
  auto agree = [&](const char* state) {
    SCOPED_TRACE(state);
    SendMessageA(h.main().hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(h.Item("Edit1").popup()), 1);
    TMDIChild* doc = h.main().ActiveChild();
    if (doc) doc->PopupMenu1Popup();
    int buttons = 0;
    for (const CommandRow& row : CommandTable()) {
      MenuNode* item = row.menu.depth == kNotInMenuBar ? nullptr : h.main().menu().FindById(row.menu.id);
      if (!item) continue;
      if (row.button.slot != kToolButtonCount) {
        ++buttons;
        EXPECT_EQ(bar.IsEnabled(row.button.slot), item->enabled()) << row.menu.name;
      }
      if (doc && row.context.name) {
        EXPECT_EQ(doc->PopupMenu1->Find(row.context.name)->enabled(), item->enabled()) << row.context.name;
      }
    }
    EXPECT_EQ(buttons, kToolButtonCount - 1);  // all but redo have a menu item
  };
  agree("no document");
  h.main().OpenDocument(h.MakeFile("a.tex", "abc"));
  PumpMessages();
  agree("a document as opened");
  HWND memo = h.main().ActiveChild()->Memo;
  SendMessageA(memo, EM_SETSEL, 0, 2);
  SendMessageA(memo, WM_COPY, 0, 0);
  SendMessageA(memo, WM_CHAR, 'x', 1);
  SendMessageA(memo, EM_SETSEL, 0, 1);
  PumpMessages();
  agree("typed into, text selected, text on the clipboard");
  h.NewBlankDocument();
  agree("a new untitled document");

  // The palette follows its menu item while a document is active.
  h.Command(kComInputItem);
  EXPECT_FALSE(h.main().CommandInputVisible);
  EXPECT_FALSE(h.Item("ComInputItem").checked());
  EXPECT_FALSE(IsWindowVisible(h.app().Input().hwnd()));
  h.Command(kComInputItem);
  EXPECT_TRUE(IsWindowVisible(h.app().Input().hwnd()));
  EXPECT_TRUE(h.Item("ComInputItem").checked());
}

// A disabled command does nothing, whether its key is pressed (through the X server) or a
// tool button sends it; once enabled, the same key runs it.
TEST(CommandStateTest, ADisabledCommandDoesNothingByItsKeyOrItsButton) {
  AppHarness h;
  std::string path = h.MakeFile("a.tex", "abc");
  h.Start({path});
  HWND editor = h.main().ActiveChild()->Memo;
  SetForegroundWindow(h.main().hwnd());
  SetFocus(editor);
  WriteFileBytes(path, "changed on disk");  // a save would put "abc" back
  auto press = [&](const char* keys) {
    RunOnLinux(h.dir().path(), KeysScript(h.main().hwnd(), keys), "");
    PumpMessages(300);
  };
  const struct {
    UINT command;
    const char* keys;
  } disabled[] = {{kFileSaveItem, "ctrl+s"}, {kForwardSearchItem, "ctrl+shift+j"}};
  for (const auto& c : disabled) {
    press(c.keys);
    SendMessageA(h.main().hwnd(), WM_COMMAND, MAKEWPARAM(c.command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(h.main().speed_panel().hwnd()));
  }
  EXPECT_EQ(ReadFileBytes(path), "changed on disk");
  EXPECT_EQ(h.messages.Texts(), "");  // no forward search said its data was missing

  SendMessageA(editor, WM_CHAR, 'x', 1);
  press("ctrl+s");
  EXPECT_EQ(ReadFileBytes(path), "xabc");
}

TEST(CommandStateTest, TheEditMenuIsJudgedWhenItOpens) {
  AppHarness h;
  std::string path = h.dir() / "a.tex";
  WriteFileBytes(path, "hello");
  h.Start({path});
  HWND memo = h.main().ActiveChild()->Memo;
  HMENU edit = h.Item("Edit1").popup();
  OpenClipboard(h.main().hwnd());
  EmptyClipboard();
  CloseClipboard();
  SendMessageA(h.main().hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  EXPECT_FALSE(h.Item("PasteItem").enabled());
  EXPECT_FALSE(h.Item("CutItem").enabled());
  EXPECT_FALSE(h.Item("UndoItem").enabled());
  EXPECT_FALSE(h.Item("UndoAllItem").enabled());
  EXPECT_TRUE(h.Item("SelectAllItem").enabled());

  SendMessageA(memo, EM_SETSEL, 0, 5);
  SendMessageA(memo, WM_COPY, 0, 0);
  SendMessageA(memo, WM_CHAR, 'x', 1);
  SendMessageA(memo, EM_SETSEL, 0, 1);
  SendMessageA(h.main().hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  EXPECT_TRUE(h.Item("PasteItem").enabled());
  EXPECT_TRUE(h.Item("CutItem").enabled());
  EXPECT_TRUE(h.Item("UndoItem").enabled());
  EXPECT_TRUE(h.Item("UndoAllItem").enabled());

  // Undo once; the next undo has nothing left to take back.
  h.Command(kUndoItem);
  SendMessageA(h.main().hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
  EXPECT_FALSE(h.Item("UndoItem").enabled());
  EXPECT_FALSE(h.main().speed_panel().IsEnabled(UndoBtn));
  // Copy leaves the caret at the start of what was selected.
  SendMessageA(memo, EM_SETSEL, 1, 3);
  h.Command(kCopyItem);
  CHARRANGE sel{};
  SendMessageA(memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  EXPECT_EQ(sel.cpMin, 1);
  EXPECT_EQ(sel.cpMax, 1);
}

}  // namespace
}  // namespace quillet::test
