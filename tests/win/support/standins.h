#pragma once
// The stand-ins for the outside programs (TeX engine, DVI viewers, log editor) as the tests
// use them: the command lines to put into the program's settings, what the stand-ins
// recorded, and finding and ending the ones this test process started (directly, or
// through the program running inside it).
//
// Each stand-in appends every DDE execute string it takes (the editor: its whole command
// line) and a LF to its record file. Stand-ins also end by themselves when the process
// that started them ends.
//
// A TeX run test, for instance:
//   EndStandInsAtExit cleanup;                       // first, so it runs last
//   std::string record = h.dir() / "engine.txt";
//   h.WriteIni("[TeX]\r\nｲﾝﾌﾟﾚｽ  WpvTeX=" + EngineCommandLine({.record = record, .dvi = true}) + "\r\n");
//   std::string source = h.MakeFile("a.tex", "..."); AgeFile(source, 10);
//   ... run the command ...
//   EXPECT_EQ(ReadRecord(record), std::vector<std::string>{"[virtex(" + source + ",0)]"});
//   EXPECT_TRUE(WaitUntilNoneRunning(kEngineExe, 5000));  // the program ended the engine
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace quillet::test {

inline constexpr char kEngineExe[] = "stand_in_engine.exe";
inline constexpr char kViewerExe[] = "stand_in_viewer.exe";
inline constexpr char kEditorExe[] = "stand_in_editor.exe";
// The bridges, built beside the tests too.
inline constexpr char kEngineBridgeExe[] = "quillet-tex.exe";
inline constexpr char kViewerBridgeExe[] = "quillet-dvi.exe";

// Full Windows name of a stand-in built beside the tests, e.g. StandInPath(kEngineExe).
std::string StandInPath(const char* exe_name);

// What the engine does with "[virtex(NAME,INDEX)]": writes NAME's .log (a copy of log, or
// a clean log of a few lines when log is empty) and, with dvi, NAME's .dvi, both stamped
// with the time of writing.
struct EngineScenario {
  std::string record{};     // where every execute string is recorded (created at start)
  std::string log{};        // file whose bytes become the log; empty: a clean log
  bool dvi = false;         // also write the .dvi
  DWORD delay_ms = 0;       // wait after the command before writing
  DWORD hold_ms = 0;        // keep the log open without sharing this long after writing
  bool no_service = false;  // never offer "wpvtex"
  bool no_log = false;      // take the command, write nothing
  bool exit_early = false;  // end right after taking the command
  bool ignore_quit = false; // not end when told to quit (WM_QUIT to its main thread)
  std::string ready{};      // named event set once the engine takes commands
};

// Command lines as the settings hold them. Words are quoted only when they contain a
// blank: a settings value that begins and ends with a quote loses both when it is read.
std::string EngineCommandLine(const EngineScenario& scenario);
// service is "WinDVI" or "yaWinDVI".
std::string ViewerCommandLine(const std::string& service, const std::string& record, const std::string& ready = "");
// The program appends a blank and the log's name to this.
std::string EditorCommandLine(const std::string& record);

// The complete lines recorded so far (without their LF); none when the file is missing.
std::vector<std::string> ReadRecord(const std::string& file);
// Handles the test thread's messages (the program runs on it) until the record file exists
// and holds at least n complete lines; false after timeout_ms. With n 0 it waits for the
// stand-in to be up.
bool WaitForRecordLines(const std::string& file, std::size_t n, DWORD timeout_ms);

// Handles the test thread's messages until done() holds; false when timeout_ms passes first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms);

// A named event, with a name of its own, for a stand-in's --ready.
class ReadyEvent {
 public:
  ReadyEvent();
  ~ReadyEvent();
  ReadyEvent(const ReadyEvent&) = delete;
  ReadyEvent& operator=(const ReadyEvent&) = delete;
  const std::string& name() const { return name_; }
  // Handles messages while it waits for the next setting; false when not set within
  // timeout_ms.
  bool Wait(DWORD timeout_ms) const;

 private:
  std::string name_;
  HANDLE event_;
};

// A stand-in the test starts itself (as a viewer that is already running, say); ended,
// when still running, at the end of its scope.
class StandInProcess {
 public:
  explicit StandInProcess(const std::string& command_line);
  ~StandInProcess();
  StandInProcess(const StandInProcess&) = delete;
  StandInProcess& operator=(const StandInProcess&) = delete;
  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // True once the process has ended within timeout_ms (messages are handled meanwhile);
  // its exit code goes to *exit_code.
  bool WaitForExit(DWORD timeout_ms, DWORD* exit_code = nullptr) const;

 private:
  PROCESS_INFORMATION info_{};
};

// Ends a process the test started, outright (no clean-up of its own), waits until it is
// gone and closes its handles; info is then empty.
void KillProcess(PROCESS_INFORMATION& info);

// Ids of the running processes of that program file started by this test process.
std::vector<DWORD> StartedProcesses(const char* exe_name);
// Handles messages until none of them is left running; false after timeout_ms.
bool WaitUntilNoneRunning(const char* exe_name, DWORD timeout_ms);
// Ends them (by id) and waits until they are gone.
void EndStartedProcesses(const char* exe_name);

// Ends every stand-in this test process started that still runs, at the end of its scope:
// put one in a fixture so a failed test leaves none behind.
class EndStandInsAtExit {
 public:
  EndStandInsAtExit() = default;
  ~EndStandInsAtExit();
  EndStandInsAtExit(const EndStandInsAtExit&) = delete;
  EndStandInsAtExit& operator=(const EndStandInsAtExit&) = delete;
};

// Moves a file's last-write time the given number of seconds into the past, so that a
// log or .dvi written now counts as newer (file times compare in 2-second slots).
void AgeFile(const std::string& path, int seconds);

}  // namespace quillet::test
