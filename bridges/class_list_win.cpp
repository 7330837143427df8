#include "bridges/class_list_win.h"

#include <windows.h>

#include <optional>

#include "aids/document_classes.h"
#include "bridges/class_list.h"
#include "bridges/outside_run_win.h"
#include "win/file_io_win.h"
#include "win/handles_win.h"

namespace quillet {

namespace {

constexpr DWORD kWaitMs = 4000, kPollMs = 20;

// The Linux kpsewhich through /bin/sh, its answer in found; its exit status, none when
// it cannot be started or gives no status in time.
std::optional<int> AskOnLinux(const std::string& out_file, const std::string& found) {
  const std::string script = out_file + ".sh", marker = out_file + ".done";
  DeleteFileA(marker.c_str());
  std::string unix_found = UnixFileName(found), unix_marker = UnixFileName(marker);
  if (unix_found.empty() || unix_marker.empty() ||
      !StartShellScript(script, FindFilesScript(FilesToFind(), unix_found, unix_marker))) {
    return std::nullopt;
  }
  std::optional<int> status;
  for (DWORD start = GetTickCount(); !status && GetTickCount() - start < kWaitMs; Sleep(kPollMs)) {
    if (FileExists(marker)) status = std::atoi(ReadSmallFile(marker).c_str());
  }
  DeleteFileA(script.c_str());
  DeleteFileA(marker.c_str());
  return status;
}

// The Windows kpsewhich itself, its standard output in found.
std::optional<int> AskOnWindows(const std::string& found) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  FileHandle out(CreateFileA(found.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return std::nullopt;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.get();
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string line = FindFilesCommand(FilesToFind());
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process)) {
    return std::nullopt;
  }
  CloseHandle(process.hThread);
  KernelHandle running(process.hProcess);
  DWORD status = 0;
  if (WaitForSingleObject(running.get(), kWaitMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(running.get(), &status)) {
    TerminateProcess(running.get(), 1);
    return std::nullopt;
  }
  return static_cast<int>(status);
}

}  // namespace

int WriteClassList(const std::string& out_file, bool linux_tools) {
  const std::string found = out_file + ".found";
  std::optional<int> status = linux_tools ? AskOnLinux(out_file, found) : AskOnWindows(found);
  std::string answer = ReadFileUpTo(found, 1u << 20);
  DeleteFileA(found.c_str());
  if (!status || !KpsewhichAnswered(*status, FilesToFind().size())) return 1;
  return WriteWhole(out_file, ClassListText(FoundFiles(answer))) ? 0 : 1;
}

}  // namespace quillet
