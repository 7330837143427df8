// Which commands are enabled with and without documents, with and without a selection,
// during a TeX run, and what the tool buttons show.
#include <windows.h>

#include <richedit.h>
#include <gtest/gtest.h>

#include "aids/command_palette_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"

namespace quillet::test {
namespace {

constexpr const char* kWithDocuments[] = {
    "FileInsertItem", "FileSaveAsItem", "FilePrintItem",     "CutItem",         "CopyItem",
    "DeleteItem",     "PasteItem",      "SelectAllItem",     "FindStrItem",     "NextItem",
    "ReplaceStrItem", "JumptoItem",     "JumpTopItem",       "JumpEndItem",     "FindSecItem",
    "JumpNextItem",   "MacroItem",      "WindowCascadeItem", "WindowTileItem",  "WindowArrangeItem",
    "WindowMinimizeItem", "WindowCloseAllItem", "ComInputItem"};
constexpr const char* kAlways[] = {"FileNewItem", "FileOpenItem", "FileExitItem", "ErrMesItem", "ToolBarItem",
                                   "StatusBarItem", "EnvItem", "SetItem", "SearchforHelpOnItem", "HelpAboutItem",
                                   "TeX1Item", "TeX2Item", "TeX3Item"};

TEST(CommandStateTest, DocumentCommandsFollowTheDocuments) {
  AppHarness h;
  std::string path = h.dir() / "a.tex";
  WriteFileBytes(path, "abc");
  h.Start();
  for (const char* name : kWithDocuments) EXPECT_FALSE(h.Item(name).enabled()) << name;
  for (const char* name : kAlways) EXPECT_TRUE(h.Item(name).enabled()) << name;
  SpeedPanel& bar = h.main().speed_panel();
  for (ToolButton b : {PrintBtn, FindBtn, SaveBtn, CutBtn, CopyBtn, PasteBtn, UndoBtn, RedoBtn}) {
    EXPECT_FALSE(bar.IsEnabled(b)) << b;
  }

  h.main().OpenDocument(path);
  PumpMessages();
  for (const char* name : kWithDocuments) EXPECT_TRUE(h.Item(name).enabled()) << name;
  EXPECT_TRUE(bar.IsEnabled(PrintBtn));
  EXPECT_TRUE(bar.IsEnabled(FindBtn));
  EXPECT_FALSE(bar.IsEnabled(SaveBtn));
  EXPECT_FALSE(bar.IsEnabled(CutBtn));  // nothing selected
  EXPECT_TRUE(h.main().CommandInputVisible);
  EXPECT_TRUE(IsWindowVisible(h.app().Input().hwnd()));
  EXPECT_EQ(h.Panel(1), "3ﾊﾞｲﾄ");

  HWND memo = h.main().ActiveChild()->Memo;
  SendMessageA(memo, EM_SETSEL, 0, 2);
  PumpMessages();
  EXPECT_TRUE(bar.IsEnabled(CutBtn));
  EXPECT_TRUE(bar.IsEnabled(CopyBtn));
  SendMessageA(memo, EM_SETSEL, 1, 1);
  PumpMessages();
  EXPECT_FALSE(bar.IsEnabled(CutBtn));
  EXPECT_FALSE(bar.IsEnabled(CopyBtn));
  EXPECT_FALSE(bar.IsEnabled(RedoBtn));  // never

  // The palette follows its menu item while a document is active.
  h.Command(kComInputItem);
  EXPECT_FALSE(h.main().CommandInputVisible);
  EXPECT_FALSE(h.Item("ComInputItem").checked());
  EXPECT_FALSE(IsWindowVisible(h.app().Input().hwnd()));
  h.Command(kComInputItem);
  EXPECT_TRUE(IsWindowVisible(h.app().Input().hwnd()));
  EXPECT_TRUE(h.Item("ComInputItem").checked());

  h.main().DisableTeXCommands();
  for (const char* name : {"TeX1Item", "TeX2Item", "TeX3Item"}) EXPECT_FALSE(h.Item(name).enabled()) << name;
  for (ToolButton b : {TeX1Btn, TeX2Btn, TeX3Btn}) EXPECT_FALSE(bar.IsEnabled(b)) << b;
  h.main().EnableTeXCommands();
  for (ToolButton b : {TeX1Btn, TeX2Btn, TeX3Btn}) EXPECT_TRUE(bar.IsEnabled(b)) << b;
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
