#include "tests/win/support/standins.h"

#include <tlhelp32.h>

#include <sstream>

#include "core/sjis.h"
#include "tests/win/support/test_support.h"
#include "win/handles_win.h"

namespace quillet::test {

namespace {

std::string Word(const std::string& text) { return text.find(' ') == std::string::npos ? text : '"' + text + '"'; }

std::string Option(const char* name, const std::string& value) {
  return value.empty() ? std::string() : std::string(" ") + name + " " + Word(value);
}

std::string Option(const char* name, DWORD ms) { return ms ? Option(name, std::to_string(ms)) : std::string(); }

std::string Flag(const char* name, bool on) { return on ? std::string(" ") + name : std::string(); }

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms) return false;
    PumpMessages(10);
  }
  return true;
}

std::string StandInPath(const char* exe_name) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  return ExtractFilePath(std::string_view(self, n)) + exe_name;
}

std::string EngineCommandLine(const EngineScenario& s) {
  return Word(StandInPath(kEngineExe)) + Option("--record", s.record) + Option("--log", s.log) + Flag("--dvi", s.dvi) +
         Option("--delay", s.delay_ms) + Option("--hold", s.hold_ms) + Flag("--no-service", s.no_service) +
         Flag("--no-log", s.no_log) + Flag("--exit-early", s.exit_early) + Flag("--ignore-quit", s.ignore_quit) +
         Option("--ready", s.ready);
}

std::string ViewerCommandLine(const std::string& service, const std::string& record, const std::string& ready) {
  return Word(StandInPath(kViewerExe)) + Option("--service", service) + Option("--record", record) +
         Option("--ready", ready);
}

std::string EditorCommandLine(const std::string& record) {
  return Word(StandInPath(kEditorExe)) + Option("--record", record);
}

std::vector<std::string> ReadRecord(const std::string& file) {
  std::string bytes = ReadFileBytes(file);
  std::vector<std::string> lines;
  for (std::size_t begin = 0, end; (end = bytes.find('\n', begin)) != std::string::npos; begin = end + 1) {
    lines.push_back(bytes.substr(begin, end - begin));
  }
  return lines;
}

bool WaitForRecordLines(const std::string& file, std::size_t n, DWORD timeout_ms) {
  return PumpUntil([&] { return FileExists(file) && ReadRecord(file).size() >= n; }, timeout_ms);
}

ReadyEvent::ReadyEvent() {
  static LONG counter = 0;
  std::ostringstream name;
  name << "QuilletStandInReady-" << GetCurrentProcessId() << "-" << InterlockedIncrement(&counter);
  name_ = name.str();
  event_ = CreateEventA(nullptr, FALSE, FALSE, name_.c_str());
}

ReadyEvent::~ReadyEvent() {
  if (event_) CloseHandle(event_);
}

bool ReadyEvent::Wait(DWORD timeout_ms) const {
  return PumpUntil([this] { return WaitForSingleObject(event_, 0) == WAIT_OBJECT_0; }, timeout_ms);
}

void KillProcess(PROCESS_INFORMATION& info) {
  if (!info.hProcess) return;
  TerminateProcess(info.hProcess, 1);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hProcess);
  if (info.hThread) CloseHandle(info.hThread);
  info = {};
}

StandInProcess::StandInProcess(const std::string& command_line) {
  std::string line = command_line;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) {
    info_ = {};
    return;
  }
  CloseHandle(info_.hThread);
  info_.hThread = nullptr;
}

StandInProcess::~StandInProcess() {
  if (!started()) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hProcess);
}

bool StandInProcess::WaitForExit(DWORD timeout_ms, DWORD* exit_code) const {
  if (!started()) return false;
  bool ended = PumpUntil([this] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, timeout_ms);
  if (ended && exit_code) GetExitCodeProcess(info_.hProcess, exit_code);
  return ended;
}

std::vector<DWORD> StartedProcesses(const char* exe_name) {
  std::vector<DWORD> ids;
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID == GetCurrentProcessId() && SameFileName(entry.szExeFile, exe_name)) {
      ids.push_back(entry.th32ProcessID);
    }
  }
  return ids;
}

bool WaitUntilNoneRunning(const char* exe_name, DWORD timeout_ms) {
  return PumpUntil([exe_name] { return StartedProcesses(exe_name).empty(); }, timeout_ms);
}

void EndStartedProcesses(const char* exe_name) {
  for (DWORD id : StartedProcesses(exe_name)) {
    KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process) continue;
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), 5000);
  }
}

EndStandInsAtExit::~EndStandInsAtExit() {
  for (const char* exe : {kEngineExe, kViewerExe, kEditorExe, kEngineBridgeExe, kViewerBridgeExe}) {
    EndStartedProcesses(exe);
  }
}

void AgeFile(const std::string& path, int seconds) {
  FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                              nullptr));
  FILETIME written;
  if (!file || !GetFileTime(file.get(), nullptr, nullptr, &written)) return;
  ULARGE_INTEGER t{{written.dwLowDateTime, written.dwHighDateTime}};
  t.QuadPart -= static_cast<ULONGLONG>(seconds) * 10'000'000ULL;
  written = {t.LowPart, t.HighPart};
  SetFileTime(file.get(), nullptr, nullptr, &written);
}

}  // namespace quillet::test
