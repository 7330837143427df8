// Document windows: opening by command line and drop, captions, the close query with its
// three answers, the autosave copy, selecting a line, the pop-up menu, the status bar and
// the document area's scroll bars.
#include <windows.h>

#include <functional>

#include <richedit.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include "aids/command_palette_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "win/file_io_win.h"

namespace quillet::test {
namespace {

// Posts a drop of the given files on the window, as the shell does.
void DropFiles(HWND target, const std::vector<std::string>& names) {
  std::string list;
  for (const auto& n : names) list += n + '\0';
  list += '\0';
  HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(mem));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = FALSE;
  memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(mem);
  PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
  PumpMessages();
}

struct DocFixture : ::testing::Test {
  AppHarness h;
  std::string MakeFile(const std::string& name, const std::string& text) { return h.MakeFile(name, text); }
  TMDIChild* Active() { return h.main().ActiveChild(); }
};

TEST_F(DocFixture, TheCommandLineFileOpensInTheFrame) {
  std::string path = MakeFile("論文.tex", "\\section{序論}\r\n本文\r\n");
  h.Start({"\"" + path + "\"", "ignored.tex"});
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Active()->caption(), path);
  // The window shows the program's document icon, not the platform's default one.
  EXPECT_NE(GetClassLongPtrA(Active()->hwnd(), GCLP_HICONSM), 0);
  EXPECT_EQ(EditorText(Active()->Memo), "\\section{序論}\r\n本文\r\n");
  EXPECT_EQ(h.main().Children().size(), 1u);
  EXPECT_EQ(h.Panel(0), "    1:   1");
  EXPECT_EQ(h.Panel(1), "22ﾊﾞｲﾄ");
  EXPECT_EQ(h.Panel(2), "");
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
  // The palette shows with the first document, above the frame.
  HWND palette = h.app().Input().hwnd();
  EXPECT_TRUE(IsWindowVisible(palette));
  EXPECT_TRUE(h.Item("ComInputItem").checked());
  RECT r;
  GetWindowRect(palette, &r);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) - 170);
}

TEST_F(DocFixture, AMissingCommandLineFileIsReportedAndTheFrameStaysEmpty) {
  std::string path = h.dir() / "ない.tex";
  h.Start({path});
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].kind, MsgKind::Warning);
  EXPECT_EQ(h.messages.shown[0].text, path + " は存在しません。");
  EXPECT_TRUE(h.main().Children().empty());
  EXPECT_TRUE(IsWindowVisible(h.main().hwnd()));
}

TEST_F(DocFixture, ADropOfThreeFilesOpensOnlyTheFirst) {
  std::string a = MakeFile("a.tex", "A"), b = MakeFile("b.tex", "B"), c = MakeFile("c.tex", "C");
  h.Start();
  ShowWindow(h.main().hwnd(), SW_MINIMIZE);
  PumpMessages();
  DropFiles(h.main().hwnd(), {a, b, c});
  ASSERT_EQ(h.main().Children().size(), 1u);
  EXPECT_EQ(Active()->caption(), a);
  EXPECT_FALSE(IsIconic(h.main().hwnd()));  // a drop on the task-bar button restores it
  EXPECT_EQ(h.main().recent_files.entry(1), a);
  EXPECT_EQ(h.main().recent_files.entry(2), "");
  // Dropping the open file again brings it forward without a second window.
  DropFiles(h.main().hwnd(), {a});
  EXPECT_EQ(h.main().Children().size(), 1u);
}

TEST_F(DocFixture, TheCloseQueryAnswersCancelNoAndYes) {
  std::string path = MakeFile("a.tex", "old");
  h.Start({path});
  TMDIChild* doc = Active();
  std::string autosave = doc->AutoSaveFileName();
  EXPECT_EQ(autosave, h.dir() / "a.$$$");
  WriteFileBytes(autosave, "copy");
  Type(doc->Memo, "new ");
  EXPECT_EQ(h.Panel(2), "変更");

  h.messages.answers = {MsgResult::Cancel};
  SendMessageA(doc->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].kind, MsgKind::Confirmation);
  EXPECT_EQ(h.messages.shown[0].text, path + "は変更されています。\r保存しますか?");
  EXPECT_EQ(h.messages.shown[0].buttons, kMsgYes | kMsgNo | kMsgCancel);
  EXPECT_EQ(h.main().Children().size(), 1u);  // Cancel keeps the window
  EXPECT_TRUE(FileExists(autosave));          // and its autosave copy

  h.messages.answers = {MsgResult::Yes};
  SendMessageA(doc->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_TRUE(h.main().Children().empty());
  EXPECT_EQ(ReadFileBytes(path), "new old");
  EXPECT_EQ(ReadFileBytes(h.dir() / "a.bak"), "old");  // backups are on by default
  EXPECT_FALSE(FileExists(autosave));
  // No document left: the panels are empty and the palette is hidden.
  EXPECT_EQ(h.Panel(0), "");
  EXPECT_EQ(h.Panel(1), "");
  EXPECT_EQ(h.Panel(2), "");
  EXPECT_FALSE(h.Item("ComInputItem").enabled());
  EXPECT_FALSE(IsWindowVisible(h.app().Input().hwnd()));
}

TEST_F(DocFixture, AnsweringNoClosesWithoutSavingAndAnUnmodifiedDocumentAsksNothing) {
  std::string a = MakeFile("a.tex", "keep"), b = MakeFile("b.tex", "plain");
  h.Start({a});
  h.main().OpenDocument(b);
  TMDIChild* doc_b = Active();
  WriteFileBytes(doc_b->AutoSaveFileName(), "copy");
  SendMessageA(doc_b->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_TRUE(h.messages.shown.empty());
  EXPECT_FALSE(FileExists(h.dir() / "b.$$$"));  // removed even without a question

  TMDIChild* doc_a = Active();
  ASSERT_NE(doc_a, nullptr);
  Type(doc_a->Memo, "x");
  h.messages.answers = {MsgResult::No};
  SendMessageA(doc_a->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_TRUE(h.main().Children().empty());
  EXPECT_EQ(ReadFileBytes(a), "keep");
}

TEST_F(DocFixture, CancelDuringExitStopsItAfterTheWindowsAskedBefore) {
  std::string a = MakeFile("a.tex", "A"), b = MakeFile("b.tex", "B");
  h.Start({a});
  h.main().OpenDocument(b);
  for (TMDIChild* doc : h.main().Children()) Type(doc->Memo, "z");
  // The MDI list starts with the active window (b), then a.
  h.messages.answers = {MsgResult::No, MsgResult::Cancel};
  h.Close();
  EXPECT_FALSE(h.closed());
  ASSERT_EQ(h.main().Children().size(), 1u);
  EXPECT_EQ(h.main().Children()[0]->caption(), a);
  EXPECT_EQ(h.messages.shown.size(), 2u);
}

TEST_F(DocFixture, YesOnAnUntitledDocumentAsksForANameAndKeepsTheTextWhenCancelled) {
  h.Start();
  TMDIChild* doc = h.main().CreateDocumentWindow("文書1.tex");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->AutoSaveFileName(), TempDirectory() + "文書1.$$$");
  Type(doc->Memo, "draft");
  h.messages.answers = {MsgResult::Yes};
  h.dialogs.answers = {std::nullopt};  // the user cancels the save dialog
  SendMessageA(doc->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_EQ(h.dialogs.asked.size(), 1u);
  EXPECT_EQ(h.dialogs.asked[0].file_name, "文書1.tex");
  EXPECT_EQ(h.main().Children().size(), 1u);  // not saved, so not thrown away

  std::string target = h.dir() / "draft.tex";
  h.messages.answers = {MsgResult::Yes};
  h.dialogs.answers = {target};
  SendMessageA(doc->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_TRUE(h.main().Children().empty());
  EXPECT_EQ(ReadFileBytes(target), "draft");
}

TEST_F(DocFixture, SelectLineInDocumentFindsTheWindowByNameWithoutCase) {
  std::string path = MakeFile("Lines.tex", "one\r\ntwo\r\nthree");
  std::string other = MakeFile("other.tex", "x\r\ny");
  h.Start({path});
  h.main().OpenDocument(other);
  TMDIChild* lines = h.main().Children()[1];
  TMDIChild* other_doc = h.main().Children()[0];
  struct Row { std::string name; int line; CHARRANGE expected; bool activates; } rows[] = {
      {path, 1, {0, 3}, true},
      {path, 3, {10, 15}, true},           // the last line, without a break after it
      {h.dir() / "LINES.TEX", 2, {5, 8}, true},
      {h.dir() / "nothing.tex", 1, {5, 8}, false},
      {path, 0, {5, 8}, false},
  };
  for (const auto& r : rows) {
    SendMessageA(h.main().mdi_client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(other_doc->hwnd()), 0);
    h.main().SelectLineInDocument(r.name, r.line);
    PumpMessages();
    Range sel = EditorSelection(lines->Memo);
    EXPECT_EQ(sel.start, r.expected.cpMin) << r.name << " " << r.line;
    EXPECT_EQ(sel.end, r.expected.cpMax) << r.name << " " << r.line;
    EXPECT_EQ(Active() == lines, r.activates) << r.name << " " << r.line;
  }
}

TEST_F(DocFixture, TheStatusBarFollowsTheCaretAndTheActiveDocument) {
  std::string a = MakeFile("a.tex", "漢字かな\r\nabcdef\r\n"), b = MakeFile("b.tex", "b");
  h.Start({a});
  TMDIChild* doc_a = Active();
  SendMessageA(doc_a->Memo, EM_SETSEL, 10, 13);  // three characters from the start of line 2
  PumpMessages();
  EXPECT_EQ(h.Panel(0), "    2:   4");  // the column counts to the end of the selection
  EXPECT_TRUE(h.main().speed_panel().IsEnabled(CutBtn));
  Type(doc_a->Memo, "Z");
  EXPECT_EQ(h.Panel(2), "変更");
  EXPECT_TRUE(h.Item("FileSaveItem").enabled());
  EXPECT_TRUE(h.main().speed_panel().IsEnabled(UndoBtn));
  h.main().OpenDocument(b);
  EXPECT_EQ(h.Panel(2), "");
  EXPECT_FALSE(h.Item("FileSaveItem").enabled());
  EXPECT_EQ(h.Panel(1), "1ﾊﾞｲﾄ");
  SendMessageA(h.main().mdi_client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(doc_a->hwnd()), 0);
  PumpMessages();
  EXPECT_EQ(h.Panel(2), "変更");
  EXPECT_TRUE(h.main().speed_panel().IsEnabled(SaveBtn));
  EXPECT_EQ(h.Panel(1), std::to_string(EditorText(doc_a->Memo).size()) + "ﾊﾞｲﾄ");
}

TEST_F(DocFixture, ThePopupMenuFollowsSelectionUndoAndTheClipboard) {
  std::string a = MakeFile("a.tex", "hello");
  h.Start({a});
  TMDIChild* doc = Active();
  auto state = [&](const char* name) {
    MenuNode* item = doc->PopupMenu1->Find(name);
    EXPECT_NE(item, nullptr) << name;
    return item && item->enabled();
  };
  // Only a picture on the clipboard: nothing to paste.
  ASSERT_TRUE(OpenClipboard(h.main().hwnd()));
  EmptyClipboard();
  HDC screen = GetDC(nullptr);
  SetClipboardData(CF_BITMAP, CreateCompatibleBitmap(screen, 4, 4));
  ReleaseDC(nullptr, screen);
  CloseClipboard();
  doc->PopupMenu1Popup();
  EXPECT_FALSE(state("PPasteItem"));
  EXPECT_FALSE(state("PCutItem"));
  EXPECT_FALSE(state("PUndoItem"));
  EXPECT_TRUE(state("PSelectAllItem"));
  SendMessageA(doc->Memo, EM_SETSEL, 0, 2);
  SendMessageA(doc->Memo, WM_COPY, 0, 0);
  Type(doc->Memo, "J");
  SendMessageA(doc->Memo, EM_SETSEL, 0, 2);
  doc->PopupMenu1Popup();
  EXPECT_TRUE(state("PPasteItem"));
  EXPECT_TRUE(state("PCutItem"));
  EXPECT_TRUE(state("PCopyItem"));
  EXPECT_TRUE(state("PUndoItem"));
  // Its items act through the main window's commands.
  h.main().OnCommand(kSelectAllItem);
  Range all = EditorSelection(doc->Memo);
  EXPECT_EQ(all.start, 0);
  EXPECT_EQ(all.end, static_cast<long>(EditorText(doc->Memo).size()));
}

TEST_F(DocFixture, NewWindowsTakeTheConfiguredFont) {
  std::string a = MakeFile("a.tex", "x");
  h.WriteIni("[Editor]\r\nFont=ＭＳ 明朝\r\nFontSize=abc\r\n");
  h.Start({a});
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(Active()->Memo, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  GetObjectA(font, sizeof(lf), &lf);
  EXPECT_STREQ(lf.lfFaceName, "ＭＳ 明朝");
  HDC dc = GetDC(nullptr);
  EXPECT_EQ(-lf.lfHeight, MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72));  // not a number: 10 points
  ReleaseDC(nullptr, dc);
}

// The document area shows scroll bars once a document reaches beyond it, whether the
// document was moved there or the frame was made smaller.
TEST(DocumentAreaTest, ADocumentBeyondTheAreaCanBeScrolledTo) {
  struct Row {
    const char* what;
    std::function<void(TMainForm&, HWND doc, RECT area)> push_beyond;
  };
  const Row rows[] = {
      {"document moved",
       [](TMainForm&, HWND doc, RECT area) { MoveWindow(doc, area.right + 100, area.bottom + 100, 300, 200, TRUE); }},
      {"frame made smaller",
       [](TMainForm& main, HWND doc, RECT area) {
         MoveWindow(doc, area.right - 320, area.bottom - 220, 300, 200, TRUE);
         SetWindowPos(main.hwnd(), nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
       }},
  };
  for (const Row& row : rows) {
    AppHarness h;
    std::string path = h.MakeFile("a.tex", "x");
    h.Start();
    HWND area = h.main().mdi_client();
    auto has_bars = [&] { return (GetWindowLongPtrA(area, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0; };
    EXPECT_FALSE(has_bars()) << row.what << ": none in an empty frame";
    h.main().OpenDocument(path);
    ASSERT_NE(h.main().ActiveChild(), nullptr) << row.what;
    PumpMessages();
    EXPECT_FALSE(has_bars()) << row.what << ": none while the document fits";
    RECT client;
    GetClientRect(area, &client);
    row.push_beyond(h.main(), h.main().ActiveChild()->hwnd(), client);
    PumpMessages(200);
    for (int bar : {SB_HORZ, SB_VERT}) {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_RANGE | SIF_PAGE;
      ASSERT_TRUE(GetScrollInfo(area, bar, &si)) << row.what << ": " << bar;
      EXPECT_GT(si.nMax - si.nMin + 1, static_cast<int>(si.nPage)) << row.what << ": the bar reaches it, " << bar;
    }
  }
}

}  // namespace
}  // namespace quillet::test
