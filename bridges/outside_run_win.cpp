#include "bridges/outside_run_win.h"

#include <vector>

#include "win/code_page_win.h"
#include "win/file_io_win.h"
#include "win/profile_win.h"

namespace quillet {

bool RunsLinuxTools(const std::string& settings_file) {
  return UnderWine() && lstrcmpiA(ProfileFile(settings_file).ReadString("Bridge", "Tools", "").c_str(), "Windows") != 0;
}

std::string UnixFileName(const std::string& name) {
  using Convert = char*(CDECL*)(const WCHAR*);
  static const auto convert =
      reinterpret_cast<Convert>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert || name.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  std::vector<WCHAR> wide(static_cast<std::size_t>(n));
  MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), n);
  char* unix_name = convert(wide.data());
  if (!unix_name) return {};
  std::string result = unix_name;
  HeapFree(GetProcessHeap(), 0, unix_name);
  return result;
}

bool StartShellScript(const std::string& script_file, const std::string& script) {
  std::string unix_script = UnixFileName(script_file);
  if (unix_script.empty()) return false;
  // Read by the shell only once it is started: written plainly, without a flush. The
  // programs' own output would reach whatever started the bridge: it goes nowhere.
  std::string text = "exec >/dev/null 2>&1\n" + script;
  FileHandle file(CreateFileA(script_file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
      written != text.size()) {
    return false;
  }
  file.reset();
  // The Linux name is UTF-8: the code-page call would read it as Shift-JIS and mangle it.
  std::wstring command = WideFromUtf8("/bin/sh \"" + unix_script + "\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  return true;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  const std::string_view parts[] = {bytes};
  return WriteFileSafely(path, parts);
}

bool StartProgram(const std::string& command_line, const std::string& folder, const std::string& input,
                  StartedProgram& started, const std::string& output) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return false;
  KernelHandle reader(read_end), writer(write_end);
  SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = read_end;
  FileHandle messages(output.empty() ? INVALID_HANDLE_VALUE
                                     : CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                                   &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  startup.hStdOutput = messages ? messages.get() : GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = messages ? messages.get() : GetStdHandle(STD_ERROR_HANDLE);
  started.job.reset(CreateJobObjectA(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (started.job) SetInformationJobObject(started.job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  std::string line = command_line;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr,
                      folder.c_str(), &startup, &process)) {
    return false;
  }
  if (started.job) AssignProcessToJobObject(started.job.get(), process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  started.process.reset(process.hProcess);
  reader.reset();
  DWORD written = 0;
  WriteFile(writer.get(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
  return true;
}

}  // namespace quillet
