// Autosave copies left by a run that was killed: the next start offers them, naming each,
// Yes opens them as modified documents under their documents' names, No leaves every
// file as it is; copies of a run that still runs, copies older than their documents and
// anything after a clean end are not offered.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/standins.h"
#include "win/file_io_win.h"

namespace quillet::test {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The other run is this test program started again with only the disabled test below.
constexpr char kChildTest[] = "OtherRun.DISABLED_EditsAutosavesAndWaitsToBeKilled";

// The program on the settings of another test's harness: it opens each document of the
// list ("*": a new untitled one), types "edited " at its start, autosaves, says it is
// ready and waits to be killed.
TEST(OtherRun, DISABLED_EditsAutosavesAndWaitsToBeKilled) {
  std::string dir = Env("QUILLET_OTHER_RUN_DIR");
  ASSERT_FALSE(dir.empty());
  ScriptedMessages messages;
  ScriptedFileDialogs dialogs;
  AppOptions options;
  options.ini_path = dir + "quillet.ini";
  options.wintex_path = dir + "wintex.ini";
  options.messages = &messages;
  options.file_dialogs = &dialogs;
  options.use_shipped_content = false;
  Application app(std::move(options));
  ASSERT_TRUE(app.Start());
  app.env_settings().general.use_doc_exp = false;
  std::string docs = Env("QUILLET_OTHER_RUN_DOCS") + "|";
  for (std::size_t at = 0, bar; (bar = docs.find('|', at)) != std::string::npos; at = bar + 1) {
    std::string name = docs.substr(at, bar - at);
    if (name == "*") {
      app.MainForm().FileNewItemClick();
    } else {
      app.MainForm().OpenDocument(name);
    }
    ASSERT_NE(app.MainForm().ActiveChild(), nullptr) << name;
    Type(app.MainForm().ActiveChild()->Memo, "edited ");
  }
  app.MainForm().TimerTimer();
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, Env("QUILLET_OTHER_RUN_READY").c_str());
  SetEvent(ready);
  Sleep(INFINITE);
}

// Another run of the program on h's settings, killed (no clean-up of any kind) when
// Kill is called or at the end of its scope.
class OtherRun {
 public:
  OtherRun(const AppHarness& h, const std::string& docs) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string line = std::string("\"").append(exe).append("\" --gtest_also_run_disabled_tests --gtest_filter=");
    line += kChildTest;
    SetEnvironmentVariableA("QUILLET_OTHER_RUN_DIR", h.dir().path().c_str());
    SetEnvironmentVariableA("QUILLET_OTHER_RUN_DOCS", docs.c_str());
    SetEnvironmentVariableA("QUILLET_OTHER_RUN_READY", ready_.name().c_str());
    // Its test report would mix with this one's.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info_)) {
      info_ = {};
    }
    CloseHandle(nul);
    ready = info_.hProcess && ready_.Wait(30000);
  }
  ~OtherRun() { Kill(); }
  void Kill() { KillProcess(info_); }
  bool ready = false;

 private:
  ReadyEvent ready_;
  PROCESS_INFORMATION info_{};
};

std::map<std::string, std::string> OpenTexts(AppHarness& h) {
  std::map<std::string, std::string> texts;
  for (TMDIChild* doc : h.main().Children()) texts[doc->caption()] = EditorText(doc->Memo);
  return texts;
}

TEST(AutoSaveRecovery, CopiesOfAKilledRunOpenModifiedUnderTheirDocumentsNames) {
  AppHarness h;
  std::string a = h.MakeFile("a.tex", "text of a\r\n");
  std::string saved = h.MakeFile("saved.tex", "text of saved\r\n");
  std::string gone = h.MakeFile("gone.tex", "text of gone\r\n");
  std::string untitled_copy = TempDirectory() + "文書1.$$$";
  {
    OtherRun run(h, a + "|" + saved + "|" + gone + "|*");
    ASSERT_TRUE(run.ready);
  }
  // Since then one document was saved by other means and one was removed.
  WriteFileBytes(saved, "saved elsewhere\r\n");
  DeleteFileA(gone.c_str());
  h.messages.answers = {MsgResult::Yes};
  h.Start();
  ASSERT_EQ(h.messages.shown.size(), 1u) << h.messages.Texts();
  const ScriptedMessages::Shown& question = h.messages.shown[0];
  EXPECT_EQ(question.kind, MsgKind::Confirmation);
  EXPECT_EQ(question.buttons, kMsgYes | kMsgNo);
  for (const std::string& name : {a, h.dir() / "a.$$$", gone, h.dir() / "gone.$$$", std::string("文書1.tex"),
                                  untitled_copy}) {
    EXPECT_NE(question.text.find(name + "\r"), std::string::npos) << name << " in " << question.text;
  }
  EXPECT_EQ(question.text.find("saved"), std::string::npos) << question.text;

  std::map<std::string, std::string> expected = {
      {a, "edited text of a\r\n"}, {gone, "edited text of gone\r\n"}, {"文書1.tex", "edited "}};
  EXPECT_EQ(OpenTexts(h), expected);
  for (TMDIChild* doc : h.main().Children()) EXPECT_TRUE(doc->modified()) << doc->caption();
  EXPECT_EQ(h.Panel(2), "変更");
  EXPECT_EQ(ReadFileBytes(a), "text of a\r\n");  // nothing written or removed without a word
  EXPECT_EQ(ReadFileBytes(h.dir() / "a.$$$"), "edited text of a\r\n");
  EXPECT_EQ(ReadFileBytes(untitled_copy), "edited ");

  // A save writes the document itself; a new document takes the next number.
  for (TMDIChild* doc : h.main().Children()) {
    if (!doc->is_untitled()) {
      EXPECT_TRUE(h.main().FileSaveItemClick(*doc)) << doc->caption();
    }
  }
  EXPECT_EQ(ReadFileBytes(a), "edited text of a\r\n");
  EXPECT_EQ(ReadFileBytes(gone), "edited text of gone\r\n");
  h.NewBlankDocument();
  EXPECT_EQ(h.main().ActiveChild()->caption(), "文書2.tex");

  // A clean end leaves no copy, and the next start offers nothing.
  h.messages.answers.assign(8, MsgResult::No);
  h.Close();
  ASSERT_TRUE(h.closed());
  EXPECT_FALSE(FileExists(h.dir() / "a.$$$"));
  EXPECT_FALSE(FileExists(untitled_copy));
  h.messages.shown.clear();
  h.Start();
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
  EXPECT_TRUE(h.main().Children().empty());
}

// A save into the document's own file that was killed midway leaves the old text and its
// record in the temporary folder: the next start offers it, whatever the document's age,
// and asks once.
TEST(AutoSaveRecovery, TheOldTextOfAnUnfinishedInPlaceSaveIsOffered) {
  AppHarness h;
  std::string doc = h.MakeFile("読み取り専用フォルダの文書.tex", "half of the new");
  std::string kept = TempDirectory() + "quillet-kept-TEST0001.tex", record = TempDirectory() + "quillet-kept-TEST0001.txt";
  WriteFileBytes(kept, "the old text\r\n");
  WriteFileBytes(record, doc);
  h.messages.answers = {MsgResult::Yes};
  h.Start();
  ASSERT_EQ(h.messages.shown.size(), 1u) << h.messages.Texts();
  EXPECT_NE(h.messages.shown[0].text.find(doc + "\r"), std::string::npos) << h.messages.shown[0].text;
  std::map<std::string, std::string> expected = {{doc, "the old text\r\n"}};
  EXPECT_EQ(OpenTexts(h), expected);
  EXPECT_TRUE(h.main().ActiveChild()->modified());
  EXPECT_EQ(ReadFileBytes(doc), "half of the new");  // nothing written without a word
  EXPECT_FALSE(FileExists(record));
  EXPECT_TRUE(FileExists(kept));
  h.messages.answers.assign(8, MsgResult::No);
  h.Close();
  h.messages.shown.clear();
  h.Start();
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
  DeleteFileA(kept.c_str());
}

TEST(AutoSaveRecovery, NoLeavesTheFilesAndARunningProgramKeepsItsCopies) {
  AppHarness h;
  std::string a = h.MakeFile("a.tex", "text of a\r\n"), copy = h.dir() / "a.$$$";
  OtherRun run(h, a);
  ASSERT_TRUE(run.ready);
  h.Start();
  EXPECT_TRUE(h.messages.shown.empty()) << h.messages.Texts();
  h.Close();

  run.Kill();
  h.messages.answers = {MsgResult::No};
  h.Start();
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_NE(h.messages.shown[0].text.find(a + "\r"), std::string::npos) << h.messages.shown[0].text;
  EXPECT_TRUE(h.main().Children().empty());
  EXPECT_EQ(ReadFileBytes(a), "text of a\r\n");
  EXPECT_EQ(ReadFileBytes(copy), "edited text of a\r\n");
  // The question is asked once.
  h.Close();
  h.Start();
  EXPECT_EQ(h.messages.shown.size(), 1u) << h.messages.Texts();
  EXPECT_EQ(ReadFileBytes(copy), "edited text of a\r\n");
}

}  // namespace
}  // namespace quillet::test
