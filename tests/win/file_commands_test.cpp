// File commands on real files: open, insert, save with backups, save as, print, the
// recent-file list and autosave, seen through the windows and the files on disk.
#include <windows.h>

#include <commdlg.h>
#include <richedit.h>
#include <winspool.h>
#include <gtest/gtest.h>

#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "document/print_document_win.h"
#include "prefs/env_settings.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/standins.h"
#include "win/controls_win.h"
#include "win/file_io_win.h"

namespace quillet::test {
namespace {

struct FileFixture : ::testing::Test {
  AppHarness h;
  std::string MakeFile(const std::string& name, const std::string& text) { return h.MakeFile(name, text); }
  TMDIChild* Active() { return h.main().ActiveChild(); }
  std::vector<std::string> Recent() {
    std::vector<std::string> out;
    for (int n = 1; n <= 4; ++n) out.push_back(h.main().recent_files.entry(n));
    return out;
  }
};

TEST_F(FileFixture, TheOpenDialogIsPresetAndFollowsTheOldStyleSetting) {
  h.Start();
  std::string path = MakeFile("chosen.tex", "x");
  h.dialogs.answers = {path};
  h.Command(kFileOpenItem);
  ASSERT_EQ(h.dialogs.asked.size(), 1u);
  const FileDialogArgs& args = h.dialogs.asked[0];
  EXPECT_EQ(args.file_name, "*.tex");
  EXPECT_EQ(args.filter, "TeXﾌｧｲﾙ|*.tex;*.idx;*.ind;*.toc|ｽﾀｲﾙﾌｧｲﾙ|*.sty|すべてのﾌｧｲﾙ|*.*");
  EXPECT_EQ(args.flags & (OFN_HIDEREADONLY | OFN_CREATEPROMPT), static_cast<DWORD>(OFN_HIDEREADONLY | OFN_CREATEPROMPT));
  EXPECT_FALSE(args.old_style);
  EXPECT_EQ(Active()->caption(), path);
  h.app().env_settings().general.win31_dialog = true;
  h.Command(kFileOpenItem);  // cancelled
  EXPECT_TRUE(h.dialogs.asked[1].old_style);
  // A new name confirmed in the dialog's create question still does not exist.
  std::string fresh = h.dir() / "新しい.tex";
  h.dialogs.answers = {fresh};
  h.Command(kFileOpenItem);
  EXPECT_EQ(h.messages.Texts(), fresh + " は存在しません。\n");
  EXPECT_FALSE(FileExists(fresh));
  EXPECT_EQ(h.main().Children().size(), 1u);
}

TEST_F(FileFixture, AnOpenFileIsActivatedNotReadAgainWhateverItsCase) {
  std::string a = MakeFile("Paper.tex", "on disk");
  std::string b = MakeFile("other.tex", "b");
  h.Start({a});
  TMDIChild* doc = Active();
  SendMessageA(doc->Memo, EM_SETSEL, 0, -1);
  Type(doc->Memo, "edited");
  h.main().OpenDocument(b);
  std::string other_case = h.dir() / "PAPER.TEX";
  EXPECT_TRUE(h.main().OpenDocument(other_case));
  EXPECT_EQ(h.main().Children().size(), 2u);
  EXPECT_EQ(Active(), doc);
  EXPECT_EQ(EditorText(doc->Memo), "edited");  // not read again
  EXPECT_EQ(Recent(), (std::vector<std::string>{other_case, b, "", ""}));  // shown as written
}

TEST_F(FileFixture, TheRecentListKeepsFourAndBringsBackThePushedOutEntry) {
  std::vector<std::string> files;
  for (const char* n : {"A.tex", "B.tex", "C.tex", "D.tex", "E.tex"}) files.push_back(MakeFile(n, n));
  h.Start();
  for (const auto& f : files) h.main().OpenDocument(f);
  EXPECT_EQ(Recent(), (std::vector<std::string>{files[4], files[3], files[2], files[1]}));
  EXPECT_EQ(h.Item("FileName1").caption(), "&1 " + files[4]);
  EXPECT_TRUE(h.Item("N7").visible());
  // With D, C, B, A listed, opening B gives B, D, C, A.
  AppHarness fresh;
  fresh.Start();
  for (int i = 0; i < 4; ++i) fresh.main().OpenDocument(files[i]);
  fresh.main().OpenDocument(files[1]);
  std::vector<std::string> shown;
  for (int n = 1; n <= 4; ++n) shown.push_back(fresh.main().recent_files.entry(n));
  EXPECT_EQ(shown, (std::vector<std::string>{files[1], files[3], files[2], files[0]}));
  // A deleted entry is reported and the list stays.
  DeleteFileA(files[2].c_str());
  fresh.Command(kFileName3);
  EXPECT_EQ(fresh.messages.Texts(), files[2] + " は存在しません。\n");
  shown.clear();
  for (int n = 1; n <= 4; ++n) shown.push_back(fresh.main().recent_files.entry(n));
  EXPECT_EQ(shown, (std::vector<std::string>{files[1], files[3], files[2], files[0]}));
  // Choosing an entry opens it.
  fresh.Command(kFileName4);
  EXPECT_EQ(fresh.main().ActiveChild()->caption(), files[0]);
}

TEST_F(FileFixture, SavingTwiceKeepsTheFirstTextInTheBackup) {
  std::string a = MakeFile("a.tex", "original");
  std::string notes = MakeFile("notes", "n0");
  h.Start({a});
  TMDIChild* doc = Active();
  Type(doc->Memo, "1");
  h.Command(kFileSaveItem);
  EXPECT_EQ(ReadFileBytes(a), "1original");
  EXPECT_EQ(ReadFileBytes(h.dir() / "a.bak"), "original");
  EXPECT_FALSE(doc->modified());
  EXPECT_EQ(h.Panel(2), "");
  EXPECT_FALSE(h.Item("FileSaveItem").enabled());
  Type(doc->Memo, "2");
  h.Command(kFileSaveItem);
  EXPECT_EQ(ReadFileBytes(a), "12original");
  EXPECT_EQ(ReadFileBytes(h.dir() / "a.bak"), "1original");
  h.main().OpenDocument(notes);
  Type(Active()->Memo, "x");
  h.Command(kFileSaveItem);
  EXPECT_EQ(ReadFileBytes(h.dir() / "notes.bak"), "n0");
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
}

// Sets a file's creation time; false when the file system does not keep it (Wine on most
// Linux file systems).
bool SetCreationTime(const std::string& path, const FILETIME& created) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, &created, nullptr, nullptr);
  CloseHandle(file);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
         CompareFileTime(&data.ftCreationTime, &created) == 0;
}

// A save keeps what made the file that file: its attributes and, where kept, its creation
// time.
TEST_F(FileFixture, ASavedFileKeepsItsAttributesAndCreationTime) {
  std::string a = MakeFile("a.tex", "old");
  WIN32_FILE_ATTRIBUTE_DATA before{}, after{};
  FILETIME created{};
  SYSTEMTIME long_ago{2001, 2, 0, 3, 4, 5, 6, 0};
  SystemTimeToFileTime(&long_ago, &created);
  bool creation_kept = SetCreationTime(a, created);
  ASSERT_TRUE(SetFileAttributesA(a.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &before));
  h.Start({a});
  Type(Active()->Memo, "n");
  h.Command(kFileSaveItem);
  EXPECT_EQ(ReadFileBytes(a), "nold");
  ASSERT_TRUE(GetFileAttributesExA(a.c_str(), GetFileExInfoStandard, &after));
  EXPECT_EQ(after.dwFileAttributes, before.dwFileAttributes);
  if (creation_kept) {
    EXPECT_EQ(CompareFileTime(&after.ftCreationTime, &before.ftCreationTime), 0);
  }
}

// A file another program holds open is not opened, and the message says so.
TEST_F(FileFixture, AFileInUseIsNotOpenedAndTheMessageSaysWhy) {
  std::string a = MakeFile("使用中.tex", "text");
  h.Start();
  ReadyEvent holding;
  {
    std::string command = "\"";
    command.append(StandInPath("hold_file.exe")).append("\" \"").append(a).append("\" ").append(holding.name());
    StandInProcess holder(command);
    ASSERT_TRUE(holding.Wait(5000));
    EXPECT_FALSE(h.main().OpenDocument(a));
  }
  EXPECT_EQ(h.messages.Texts(), "ﾌｧｲﾙ " + a +
                                    " は開けません\rほかのﾌﾟﾛｸﾞﾗﾑがﾌｧｲﾙを使っています。そのﾌﾟﾛｸﾞﾗﾑで閉じてから、もう一度開いてください。\n");
  EXPECT_TRUE(h.main().Children().empty());
}

TEST_F(FileFixture, WithoutBackupsOrWithTheFileGoneTheSaveStillHappens) {
  std::string a = MakeFile("a.tex", "old");
  h.WriteIni("[General]\r\nBackUp=0\r\n");
  h.Start({a});
  Type(Active()->Memo, "n");
  h.Command(kFileSaveItem);
  EXPECT_FALSE(FileExists(h.dir() / "a.bak"));
  EXPECT_EQ(ReadFileBytes(a), "nold");
  h.app().env_settings().general.backup = true;
  DeleteFileA(a.c_str());
  Type(Active()->Memo, "m");
  h.Command(kFileSaveItem);
  EXPECT_EQ(h.messages.Texts(), "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを作成できません。\rﾌｧｲﾙ " + std::string(h.dir() / "a.bak") + "\rﾌｧｲﾙが見つかりません。\n");
  EXPECT_EQ(ReadFileBytes(a), "nmold");
  EXPECT_FALSE(Active()->modified());
}

TEST_F(FileFixture, SaveAsRenamesTheDocumentWithoutABackup) {
  std::string a = MakeFile("a.tex", "text");
  h.Start({a});
  TMDIChild* doc = Active();
  Type(doc->Memo, "new ");
  WriteFileBytes(doc->AutoSaveFileName(), "copy");
  std::string b = h.dir() / "b.tex";
  h.dialogs.answers = {b};
  h.Command(kFileSaveAsItem);
  ASSERT_EQ(h.dialogs.asked.size(), 1u);
  EXPECT_EQ(h.dialogs.asked[0].file_name, a);
  EXPECT_EQ(h.dialogs.asked[0].filter, "TeXﾌｧｲﾙ|*.tex|すべてのﾌｧｲﾙ|*.*");
  EXPECT_TRUE(h.dialogs.asked[0].flags & OFN_OVERWRITEPROMPT);
  EXPECT_EQ(ReadFileBytes(b), "new text");
  EXPECT_EQ(ReadFileBytes(a), "text");
  EXPECT_FALSE(FileExists(h.dir() / "b.bak"));
  EXPECT_FALSE(FileExists(h.dir() / "a.$$$"));  // the old name's copy is gone
  EXPECT_EQ(doc->caption(), b);
  EXPECT_EQ(Recent()[0], b);
  EXPECT_FALSE(doc->modified());
  // Cancel changes nothing.
  Type(doc->Memo, "z");
  h.Command(kFileSaveAsItem);
  EXPECT_EQ(doc->caption(), b);
  EXPECT_TRUE(doc->modified());
}

TEST_F(FileFixture, AnUntitledDocumentIsSavedThroughSaveAs) {
  h.Start();
  h.NewBlankDocument();
  TMDIChild* doc = Active();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->caption(), "文書1.tex");
  EXPECT_EQ(h.Panel(1), "0ﾊﾞｲﾄ");
  EXPECT_EQ(h.Panel(0), "    1:   1");
  Type(doc->Memo, "abc");
  std::string target = h.dir() / "saved.tex";
  h.dialogs.answers = {target};
  h.Command(kFileSaveItem);
  ASSERT_EQ(h.dialogs.asked.size(), 1u);
  EXPECT_EQ(h.dialogs.asked[0].file_name, "文書1.tex");
  EXPECT_EQ(ReadFileBytes(target), "abc");
  EXPECT_EQ(doc->caption(), target);
  h.NewBlankDocument();
  EXPECT_EQ(Active()->caption(), "文書2.tex");
}

TEST_F(FileFixture, InsertPutsTheLinesBeforeTheCaretLineAndSelectsThem) {
  std::string doc_path = MakeFile("doc.tex", "l1\r\nl2\r\nl3\r\nl4\r\nline5\r\nl6\r\n");
  std::string part = MakeFile("part.tex", "first\nsecond");
  h.Start({doc_path});
  TMDIChild* doc = Active();
  SendMessageA(doc->Memo, EM_SETSEL, 18, 18);  // the middle of line 5
  h.dialogs.answers = {part};
  h.Command(kFileInsertItem);
  EXPECT_EQ(h.dialogs.asked[0].file_name, "*.tex");
  EXPECT_EQ(EditorText(doc->Memo), "l1\r\nl2\r\nl3\r\nl4\r\nfirst\r\nsecond\r\n\r\nline5\r\nl6\r\n");
  CHARRANGE sel{};
  SendMessageA(doc->Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  EXPECT_EQ(sel.cpMin, 16);
  EXPECT_EQ(sel.cpMax, 16 + 15);
  EXPECT_EQ(h.Panel(0), "    7:   1");  // the caret ends the selection, at the empty line
  EXPECT_TRUE(doc->modified());
  // A missing file is reported and nothing changes.
  std::string text = EditorText(doc->Memo);
  h.dialogs.answers = {h.dir() / "gone.tex"};
  h.Command(kFileInsertItem);
  EXPECT_EQ(h.messages.Texts(), h.dir() / "gone.tex" + " は存在しません。\n");
  EXPECT_EQ(EditorText(doc->Memo), text);
}

TEST_F(FileFixture, FilesTheEditorCannotShowAreRefusedWithoutTouchingOthers) {
  std::string a = MakeFile("a.tex", "keep me");
  std::string binary = MakeFile("image.tex", std::string("GIF89a\0\0\x01", 9));
  std::string huge = h.dir() / "huge.tex";
  {
    FileHandle file(CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    LARGE_INTEGER size;
    size.QuadPart = 214748365;  // one byte more than the editor holds
    SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
  }
  h.Start({a});
  EXPECT_FALSE(h.main().OpenDocument(binary));
  EXPECT_FALSE(h.main().OpenDocument(huge));
  EXPECT_EQ(h.messages.Texts(), "ﾌｧｲﾙ " + binary + " はﾃｷｽﾄﾌｧｲﾙではありません\n" + "ﾌｧｲﾙ " + huge +
                                    " は大きすぎて開けません\n");
  EXPECT_EQ(h.main().Children().size(), 1u);
  EXPECT_EQ(EditorText(Active()->Memo), "keep me");
  DeleteFileA(huge.c_str());
}

TEST_F(FileFixture, CloseAllSavesTheDocumentBeingClosedNotTheActiveOne) {
  std::string a = MakeFile("a.tex", "A"), b = MakeFile("b.tex", "B");
  h.Start({a});
  h.main().OpenDocument(b);
  for (TMDIChild* doc : h.main().Children()) Type(doc->Memo, "+");
  // From the last window of the list down to the first: a (not active) first.
  h.messages.answers = {MsgResult::Yes, MsgResult::Cancel};
  h.Command(kWindowCloseAllItem);
  ASSERT_EQ(h.messages.shown.size(), 2u);
  EXPECT_EQ(h.messages.shown[0].text.find(a), 0u);
  EXPECT_EQ(ReadFileBytes(a), "+A");
  EXPECT_EQ(ReadFileBytes(b), "B");
  ASSERT_EQ(h.main().Children().size(), 1u);
  EXPECT_EQ(h.main().Children()[0]->caption(), b);
}

TEST_F(FileFixture, PrintingMakesOneJobPerCopyTitledWithTheCaption) {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "行 " + std::to_string(i) + " の本文です。\r\n";
  std::string a = MakeFile("print.tex", text);
  h.Start({a});
  h.dialogs.print_copies = 3;
  h.Command(kFilePrintItem);
  ASSERT_EQ(h.dialogs.jobs.size(), 3u);
  for (const auto& job : h.dialogs.jobs) {
    EXPECT_EQ(job.title, a);
    EXPECT_GT(job.pages, 1);  // 400 lines do not fit on one page
    EXPECT_EQ(job.pages, h.dialogs.jobs[0].pages);
    EXPECT_TRUE(job.ended);
  }
  h.dialogs.jobs.clear();
  h.dialogs.print_copies = 0;  // cancelled
  h.Command(kFilePrintItem);
  EXPECT_TRUE(h.dialogs.jobs.empty());
}

TEST_F(FileFixture, ARealPrinterTakesTheJobWhenTheMachineHasOne) {
  char name[512];
  DWORD size = sizeof(name);
  if (!GetDefaultPrinterA(name, &size)) GTEST_SKIP() << "this machine has no printer";
  std::string a = MakeFile("print.tex", "本文\r\n");
  h.Start({a});
  HDC dc = CreateDCA(nullptr, name, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  PrinterTarget printer(dc);
  EXPECT_TRUE(PrintEditorText(Active()->Memo, printer, a));
}

TEST_F(FileFixture, AutosaveCopiesModifiedDocumentsWhileDocumentsExist) {
  std::string a = MakeFile("a.tex", "A");
  h.WriteIni("[General]\r\nAutoSaveTime=0x0A\r\n");
  h.Start();
  EXPECT_FALSE(h.main().autosave_running());
  EXPECT_EQ(h.main().autosave_interval(), 10u * 60000);
  h.main().OpenDocument(a);
  EXPECT_TRUE(h.main().autosave_running());
  h.NewBlankDocument();
  h.NewBlankDocument();
  TMDIChild* second = Active();
  EXPECT_EQ(second->caption(), "文書2.tex");
  Type(second->Memo, "draft");
  std::string copy = TempDirectory() + "文書2.$$$";
  DeleteFileA(copy.c_str());
  h.main().TimerTimer();
  EXPECT_EQ(ReadFileBytes(copy), "draft");
  EXPECT_FALSE(FileExists(TempDirectory() + "文書1.$$$"));  // never modified, never copied
  EXPECT_FALSE(FileExists(h.dir() / "a.$$$"));
  EXPECT_EQ(h.Panel(4), "");
  EXPECT_TRUE(h.main().autosave_running());
  // Saving keeps the copy; closing removes it.
  h.main().OpenDocument(a);
  Type(Active()->Memo, "1");
  h.main().TimerTimer();
  EXPECT_EQ(ReadFileBytes(h.dir() / "a.$$$"), "1A");
  h.Command(kFileSaveItem);
  EXPECT_TRUE(FileExists(h.dir() / "a.$$$"));
  SendMessageA(Active()->hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(FileExists(h.dir() / "a.$$$"));
  // The last window closed stops the timer.
  h.messages.answers = {MsgResult::No, MsgResult::No};
  h.Command(kWindowCloseAllItem);
  EXPECT_TRUE(h.main().Children().empty());
  EXPECT_FALSE(h.main().autosave_running());
  EXPECT_FALSE(FileExists(copy));
}

}  // namespace
}  // namespace quillet::test
