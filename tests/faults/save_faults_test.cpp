// Saves that cannot happen: a read-only file or directory, a removed directory, a full
// file system, a file another program holds open. Each time the user is told, the
// document stays modified, and what was on disk is still there byte for byte.
// Run by tools/run-save-faults as an unprivileged user, with the places it prepared.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "win/file_io_win.h"
#include "win/save_in_place_win.h"

namespace quillet::test {
namespace {

std::string Place(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? value : "";
}

// Puts text at the caret as one undoable edit, as a paste does.
void PutText(HWND editor, const std::string& text) {
  SendMessageA(editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  PumpMessages();
}

struct FaultFixture : ::testing::Test {
  AppHarness h;
  std::string work = Place("QUILLET_FAULT_DIR");
  void SetUp() override { ASSERT_FALSE(work.empty()) << "run through tools/run-save-faults"; }

  // Opens path and changes its text.
  TMDIChild* Edit(const std::string& path, const std::string& typed) {
    h.main().OpenDocument(path);
    TMDIChild* doc = h.main().ActiveChild();
    if (doc) PutText(doc->Memo, typed);
    return doc;
  }
  TMDIChild* EditAndSave(const std::string& path, const std::string& typed) {
    TMDIChild* doc = Edit(path, typed);
    if (doc) h.Command(kFileSaveItem);
    return doc;
  }
  // The fixed line, then the cause and what to do.
  void ExpectRefused(TMDIChild* doc, const std::string& name, const std::string& cause) {
    ASSERT_NE(doc, nullptr);
    ASSERT_FALSE(h.messages.shown.empty());
    EXPECT_EQ(h.messages.shown.back().kind, MsgKind::Error);
    EXPECT_EQ(h.messages.shown.back().text, "ﾌｧｲﾙ " + name + " を作成できません\r" + cause);
    EXPECT_TRUE(doc->modified());
    EXPECT_EQ(h.Panel(2), "変更");
    EXPECT_TRUE(h.Item("FileSaveItem").enabled());
  }
};

constexpr const char* kReadOnly = "ﾌｧｲﾙが読み取り専用です。読み取り専用を外すか、別の名前で保存してください。";
constexpr const char* kNoRight = "この場所に書き込む権限がありません。別の場所を選んで保存してください。";
constexpr const char* kNoFolder = "ﾌｧｲﾙを置くﾌｫﾙﾀﾞがありません。別の場所を選んで保存してください。";
constexpr const char* kFull = "ﾃﾞｨｽｸがいっぱいです。空きを作ってから、もう一度保存してください。";
constexpr const char* kInUse = "ほかのﾌﾟﾛｸﾞﾗﾑがﾌｧｲﾙを使っています。そのﾌﾟﾛｸﾞﾗﾑで閉じてから、もう一度保存してください。";

TEST_F(FaultFixture, AReadOnlyFileIsNotReplaced) {
  std::string path = work + "readonly.tex";
  WriteFileBytes(path, "protected");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  h.Start();
  TMDIChild* doc = EditAndSave(path, "x");
  ExpectRefused(doc, path, kReadOnly);
  EXPECT_EQ(ReadFileBytes(path), "protected");
  EXPECT_FALSE(FileExists(work + "readonly.bak"));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A folder that takes no new file: the document, which may be written, is saved into its
// own file, and no old text is left behind; a new name there is refused.
TEST_F(FaultFixture, AReadOnlyDirectorySavesInPlaceAndRefusesANewName) {
  std::string dir = Place("QUILLET_READONLY_DIR");
  std::string path = dir + "doc.tex";
  std::string before = ReadFileBytes(path);
  ASSERT_FALSE(before.empty());
  h.Start();
  TMDIChild* doc = EditAndSave(path, "x");
  EXPECT_EQ(ReadFileBytes(path), "x" + before);
  EXPECT_FALSE(doc->modified());
  // No new .bak there.
  EXPECT_EQ(h.messages.Texts(), "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを作成できません。\rﾌｧｲﾙ " + dir +
                                    "doc.bak\rこの場所に書き込む権限がありません。書き込みの権限を管理者に求めてください。\n");
  EXPECT_TRUE(KeptTexts().empty());
  PutText(doc->Memo, "y");
  std::string other = dir + "other.tex";
  h.dialogs.answers = {other};
  h.Command(kFileSaveAsItem);
  ExpectRefused(doc, other, kNoRight);
  EXPECT_EQ(doc->caption(), path);
  EXPECT_FALSE(FileExists(other));
}

TEST_F(FaultFixture, ARemovedDirectoryIsReported) {
  std::string dir = work + "gone\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string path = dir + "doc.tex";
  WriteFileBytes(path, "text");
  h.Start({path});
  DeleteFileA(path.c_str());
  ASSERT_TRUE(RemoveDirectoryA(dir.c_str()));
  TMDIChild* doc = h.main().ActiveChild();
  PutText(doc->Memo, "more ");
  h.Command(kFileSaveItem);
  ExpectRefused(doc, path, kNoFolder);
  EXPECT_FALSE(FileExists(dir));
}

TEST_F(FaultFixture, AFullFileSystemKeepsTheOldFileAndBackup) {
  std::string dir = Place("QUILLET_FULL_DIR");
  std::string path = dir + "doc.tex", backup = dir + "doc.bak";
  std::string before = ReadFileBytes(path), old_backup = ReadFileBytes(backup);
  ASSERT_FALSE(before.empty());
  h.Start();
  TMDIChild* doc = EditAndSave(path, std::string(64 * 1024, 'z'));
  ExpectRefused(doc, path, kFull);
  EXPECT_EQ(ReadFileBytes(path), before);
  EXPECT_EQ(ReadFileBytes(backup), old_backup);
  // No half-written file is left behind.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "*.tmp").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  // An autosave copy that does not fit keeps the previous copy.
  std::string copy = doc->AutoSaveFileName();
  std::string old_copy = ReadFileBytes(copy);
  ASSERT_FALSE(old_copy.empty());
  h.main().TimerTimer();
  EXPECT_EQ(ReadFileBytes(copy), old_copy);
  EXPECT_EQ(h.Panel(4), "ﾌｧｲﾙ " + copy + " に自動保存できません。ﾃﾞｨｽｸがいっぱいです。空きを作ってから、もう一度試してください。");
  EXPECT_TRUE(doc->modified());
}

// The document is saved; the read-only backup keeps the text before, and the user is told why.
TEST_F(FaultFixture, AReadOnlyBackupIsKeptAndTheMessageSaysWhy) {
  std::string path = work + "backed.tex", backup = work + "backed.bak";
  WriteFileBytes(path, "old");
  WriteFileBytes(backup, "older");
  ASSERT_TRUE(SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_READONLY));
  h.Start();
  EditAndSave(path, "new ");
  EXPECT_EQ(ReadFileBytes(path), "new old");
  EXPECT_EQ(ReadFileBytes(backup), "older");
  EXPECT_EQ(h.messages.Texts(), "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを作成できません。\rﾌｧｲﾙ " + backup +
                                    "\rﾌｧｲﾙが読み取り専用です。読み取り専用を外してから、もう一度試してください。\n");
  SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FaultFixture, AFileHeldOpenByAnotherProgramIsNotReplaced) {
  std::string path = work + "held.tex";
  WriteFileBytes(path, "held text");
  h.Start();
  TMDIChild* doc = Edit(path, "new ");
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, "QuillHoldReady");
  std::string command = "hold_file.exe \"" + path + "\" QuillHoldReady";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
  h.Command(kFileSaveItem);
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(ready);
  ExpectRefused(doc, path, kInUse);
  EXPECT_EQ(ReadFileBytes(path), "held text");
  EXPECT_FALSE(FileExists(work + "held.bak"));
}

}  // namespace
}  // namespace quillet::test
