// The stand-in engine, viewers and editor, driven as the program drives the real ones
// (process start, DDE execute strings with their NUL), so that the program's own tests can
// rely on what they record and write. The DDE client here is the test's own.
#include <windows.h>

#include <ddeml.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dos_time.h"
#include "core/sjis.h"
#include "tests/win/support/standins.h"
#include "tests/win/support/test_support.h"
#include "win/file_io_win.h"

namespace quillet::test {
namespace {

using Lines = std::vector<std::string>;

// A DDE client that waits for the server's answer to every execute string.
class Client {
 public:
  Client() { DdeInitializeA(&instance_, &Client::Callback, APPCMD_CLIENTONLY, 0); }
  ~Client() {
    if (conversation_) DdeDisconnect(conversation_);
    DdeUninitialize(instance_);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool Connect(const std::string& service, const std::string& topic) {
    HSZ s = DdeCreateStringHandleA(instance_, service.c_str(), CP_WINANSI);
    HSZ t = DdeCreateStringHandleA(instance_, topic.c_str(), CP_WINANSI);
    conversation_ = DdeConnect(instance_, s, t, nullptr);
    DdeFreeStringHandle(instance_, s);
    DdeFreeStringHandle(instance_, t);
    return conversation_ != nullptr;
  }
  // Sends the bytes as they are (the caller adds a NUL or not); true when acknowledged.
  bool Execute(const std::string& bytes) {
    HDDEDATA data = DdeCreateDataHandle(instance_, reinterpret_cast<LPBYTE>(const_cast<char*>(bytes.data())),
                                        static_cast<DWORD>(bytes.size()), 0, nullptr, CF_TEXT, 0);
    DWORD result = 0;
    return DdeClientTransaction(reinterpret_cast<LPBYTE>(data), static_cast<DWORD>(-1), conversation_, nullptr,
                                CF_TEXT, XTYP_EXECUTE, 5000, &result) != nullptr &&
           (result & DDE_FACK);
  }

 private:
  static HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }
  DWORD instance_ = 0;
  HCONV conversation_ = nullptr;
};

std::string WithNul(std::string text) {
  text.push_back('\0');
  return text;
}

std::string Virtex(const std::string& source, int format) {
  return "[virtex(" + source + "," + std::to_string(format) + ")]";
}

bool Running(const StandInProcess& p) { return !p.WaitForExit(0); }

// Opens a file for reading with no sharing, as the program reads the log.
bool OpensUnshared(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

struct StandInTest : ::testing::Test {
  EndStandInsAtExit cleanup;
  TempDir dir;
  ReadyEvent ready;
  std::string record = dir / "record.txt";

  // Starts the engine and waits until it is ready.
  std::unique_ptr<StandInProcess> StartEngine(EngineScenario s) {
    s.record = record;
    s.ready = ready.name();
    auto engine = std::make_unique<StandInProcess>(EngineCommandLine(s));
    EXPECT_TRUE(engine->started()) << EngineCommandLine(s);
    EXPECT_TRUE(ready.Wait(10000)) << EngineCommandLine(s);
    return engine;
  }
  // A source made older, so that anything written now is newer.
  std::string OldSource(const std::string& name) {
    std::string path = dir / name;
    WriteFileBytes(path, "\\documentclass{jarticle}\r\n");
    AgeFile(path, 10);
    return path;
  }
};

TEST_F(StandInTest, EngineScenariosDecideServiceRecordLogAndLife) {
  struct Row {
    const char* name;
    EngineScenario scenario;
    bool connects, writes_log, exits;
  };
  const Row rows[] = {
      {"clean", {}, true, true, false},
      {"no-log", {.no_log = true}, true, false, false},
      {"exit-early", {.exit_early = true}, true, false, true},
      {"no-service", {.no_service = true}, false, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::string source = OldSource(std::string(row.name) + ".tex");
    std::string log = ChangeFileExt(source, ".log");
    DeleteFileA(record.c_str());
    auto engine = StartEngine(row.scenario);
    EXPECT_TRUE(FileExists(record));
    EXPECT_TRUE(Running(*engine));
    Client client;
    ASSERT_EQ(client.Connect("wpvtex", "wpvtex"), row.connects);
    if (row.connects) {
      EXPECT_FALSE(Client().Connect("wpvtex", "other"));
      EXPECT_TRUE(client.Execute(WithNul(Virtex(source, 2))));
      EXPECT_TRUE(WaitForRecordLines(record, 1, 5000));
    }
    EXPECT_EQ(ReadRecord(record), row.connects ? Lines{Virtex(source, 2)} : Lines{});
    EXPECT_EQ(engine->WaitForExit(row.exits ? 5000 : 300), row.exits);
    if (row.writes_log) {
      ASSERT_TRUE(PumpUntil([&] { return OpensUnshared(log); }, 5000));
      std::string text = ReadFileBytes(log);
      EXPECT_TRUE(StartsWith(text, "This is the stand-in TeX engine.\r\n**&2 " + source + "\r\n")) << text;
      EXPECT_EQ(text.find("\n! "), std::string::npos);
      EXPECT_GT(CompareFileAge(FileAge(log), FileAge(source)), 0);
      EXPECT_FALSE(FileExists(ChangeFileExt(source, ".dvi")));
    } else {
      PumpMessages(500);
      EXPECT_FALSE(FileExists(log));
    }
  }
}

TEST_F(StandInTest, EngineWritesTheGivenLogAndDviBesideJapaneseNames) {
  // 表, ソ and 能 end in the byte 0x5C; the folder name has a blank, so words are quoted.
  std::string folder = dir / "表ソ 能";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  record = folder + "\\記録表";
  std::string given = folder + "\\given.txt";
  std::string log_text = "This is TeX\r\n(jarticle.cls)\r\n! Undefined control sequence.\r\nl.12 \\foo\r\n? x\r\n";
  WriteFileBytes(given, log_text);
  auto engine = StartEngine({.log = given, .dvi = true});
  Client client;
  ASSERT_TRUE(client.Connect("wpvtex", "wpvtex"));
  struct Row {
    std::string source, log, dvi;
  };
  const Row rows[] = {
      {folder + "\\能力.tex", folder + "\\能力.log", folder + "\\能力.dvi"},
      {folder + "\\論文.表", folder + "\\論文.log", folder + "\\論文.dvi"},  // extension ending in 0x5C
      {folder + "\\REPORT", folder + "\\REPORT.log", folder + "\\REPORT.dvi"},
  };
  Lines sent;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.log);
    WriteFileBytes(row.source, "x");
    AgeFile(row.source, 10);
    sent.push_back(Virtex(row.source, 0));
    ASSERT_TRUE(client.Execute(WithNul(sent.back())));
    ASSERT_TRUE(PumpUntil([&] { return OpensUnshared(row.log); }, 5000));
    EXPECT_EQ(ReadFileBytes(row.log), log_text);
    EXPECT_TRUE(FileExists(row.dvi));
    for (const std::string& written : {row.log, row.dvi}) {
      EXPECT_GT(CompareFileAge(FileAge(written), FileAge(row.source)), 0) << written;
    }
  }
  EXPECT_EQ(ReadRecord(record), sent);
  EXPECT_TRUE(Running(*engine));
}

TEST_F(StandInTest, EngineDelaysThenHoldsTheLogWithoutSharing) {
  std::string source = OldSource("held.tex");
  std::string log = ChangeFileExt(source, ".log");
  auto engine = StartEngine({.delay_ms = 2000, .hold_ms = 3000});
  Client client;
  ASSERT_TRUE(client.Connect("wpvtex", "wpvtex"));
  ASSERT_TRUE(client.Execute(WithNul(Virtex(source, 0))));
  ASSERT_TRUE(WaitForRecordLines(record, 1, 5000));
  EXPECT_FALSE(FileExists(log));  // still waiting
  ASSERT_TRUE(PumpUntil([&] { return FileExists(log); }, 10000));
  // Already newer than the source, but held: the reader's unshared open fails until the
  // engine lets go of it.
  EXPECT_GT(CompareFileAge(FileAge(log), FileAge(source)), 0);
  EXPECT_FALSE(OpensUnshared(log));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  ASSERT_TRUE(PumpUntil([&] { return OpensUnshared(log); }, 10000));
  EXPECT_TRUE(StartsWith(ReadFileBytes(log), "This is the stand-in TeX engine.\r\n"));
  EXPECT_TRUE(Running(*engine));
}

TEST_F(StandInTest, EngineRecordsOddCommandsAndCarriesOn) {
  auto engine = StartEngine({});
  Client client;
  ASSERT_TRUE(client.Connect("wpvtex", "wpvtex"));
  std::string source = OldSource("after.tex");
  const std::string commands[] = {
      "[virtex(C:\\no such folder\\a.tex,0)]",  // without its NUL
      WithNul("[virtex]"),
      WithNul("[virtex(,)]"),
      WithNul("[virtex(no comma)]"),
      WithNul("[unknown(1,2)]"),
      WithNul(""),
      WithNul(Virtex(source, 1)),
  };
  for (const std::string& c : commands) EXPECT_TRUE(client.Execute(c)) << c;
  ASSERT_TRUE(WaitForRecordLines(record, 7, 5000));
  EXPECT_EQ(ReadRecord(record), (Lines{"[virtex(C:\\no such folder\\a.tex,0)]", "[virtex]", "[virtex(,)]", "[virtex(no comma)]",
                                       "[unknown(1,2)]", "", Virtex(source, 1)}));
  EXPECT_TRUE(PumpUntil([&] { return OpensUnshared(ChangeFileExt(source, ".log")); }, 5000));
  EXPECT_TRUE(Running(*engine));
}

TEST_F(StandInTest, ViewersStartedByWinExecTakeCommandsOnTheirOwnServiceOnly) {
  struct Row {
    const char* service;
    const char* other;
    std::string open;
  };
  const Row rows[] = {
      {"WinDVI", "yaWinDVI", "[FileOpen(\"C:\\DOC\\表.dvi\")]"},
      {"yaWinDVI", "WinDVI", "[FileOpen(C:\\DOC\\A.dvi)]"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.service);
    DeleteFileA(record.c_str());
    // The program connects as soon as WinExec returns, without waiting for the viewer.
    ASSERT_GE(WinExec(ViewerCommandLine(row.service, record).c_str(), SW_SHOW), 32u);
    Client client;
    ASSERT_TRUE(client.Connect(row.service, row.service));
    EXPECT_FALSE(Client().Connect(row.other, row.other));
    EXPECT_FALSE(Client().Connect(row.service, "wpvtex"));
    for (const char* next : {"[WinNormal]", "[FilePrint]"}) {
      EXPECT_TRUE(client.Execute(WithNul(row.open)));
      EXPECT_TRUE(client.Execute(WithNul(next)));
    }
    EXPECT_EQ(ReadRecord(record), (Lines{row.open, "[WinNormal]", row.open, "[FilePrint]"}));
    EXPECT_EQ(StartedProcesses(kViewerExe).size(), 1u);
    EndStartedProcesses(kViewerExe);
    EXPECT_TRUE(StartedProcesses(kViewerExe).empty());
  }
}

TEST_F(StandInTest, EditorRecordsItsCommandLineAndEnds) {
  const std::string logs[] = {"C:\\DOC\\A.log", dir / "表ソ.log"};
  Lines lines;
  for (const std::string& log : logs) {
    lines.push_back(EditorCommandLine(record) + " " + log);
    ASSERT_GE(WinExec(lines.back().c_str(), SW_SHOW), 32u) << lines.back();
    EXPECT_TRUE(WaitForRecordLines(record, lines.size(), 5000)) << lines.back();
  }
  EXPECT_EQ(ReadRecord(record), lines);
  EXPECT_TRUE(WaitUntilNoneRunning(kEditorExe, 5000));
}

TEST_F(StandInTest, StandInsEndWithTheProcessThatStartedThem) {
  // Started by a command interpreter, the viewer is not this process's to find or end...
  auto starter = std::make_unique<StandInProcess>("cmd.exe /c " + ViewerCommandLine("WinDVI", record, ready.name()));
  ASSERT_TRUE(ready.Wait(10000));
  EXPECT_TRUE(Client().Connect("WinDVI", "WinDVI"));
  EXPECT_TRUE(StartedProcesses(kViewerExe).empty());
  // ...but it goes when its starter goes.
  starter.reset();
  EXPECT_TRUE(PumpUntil([] { return !Client().Connect("WinDVI", "WinDVI"); }, 5000));
}

TEST(StandInCommandLines, WordsWithBlanksAreQuotedAndOptionsFollowTheScenario) {
  std::string engine = StandInPath(kEngineExe);
  struct Row {
    EngineScenario scenario;
    std::string expected;
  };
  const Row rows[] = {
      {{.record = "C:\\r.txt"}, engine + " --record C:\\r.txt"},
      {{.record = "C:\\a b\\r.txt", .log = "C:\\l.log", .dvi = true, .delay_ms = 10, .hold_ms = 20},
       engine + " --record \"C:\\a b\\r.txt\" --log C:\\l.log --dvi --delay 10 --hold 20"},
      {{.no_service = true, .no_log = true, .exit_early = true, .ready = "E"},
       engine + " --no-service --no-log --exit-early --ready E"},
  };
  for (const Row& row : rows) EXPECT_EQ(EngineCommandLine(row.scenario), row.expected);
  EXPECT_TRUE(FileExists(engine)) << engine;
  EXPECT_EQ(ViewerCommandLine("yaWinDVI", "C:\\v.txt"),
            StandInPath(kViewerExe) + " --service yaWinDVI --record C:\\v.txt");
  EXPECT_EQ(EditorCommandLine("C:\\e.txt"), StandInPath(kEditorExe) + " --record C:\\e.txt");
}

}  // namespace
}  // namespace quillet::test
