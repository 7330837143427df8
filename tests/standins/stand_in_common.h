#pragma once
// What the stand-ins for outside programs share: appending to the record file the tests
// read, and the ready signal; the DDE service, the options and the loop that ends with
// the process that started them come from the program's own code.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/command_line.h"
#include "win/dde_server_win.h"
#include "win/handles_win.h"
#include "win/program_loop_win.h"

namespace quillet::standin {

// The stand-in's own options.
inline CommandOptions Options() { return CommandOptions(GetCommandLineA()); }

// Appends text and a LF to the record file (created when missing).
inline void AppendRecord(const std::string& file, std::string_view text) {
  FileHandle out(CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return;
  std::string line(text);
  line += '\n';
  DWORD written = 0;
  WriteFile(out.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// Creates the record file when it is missing, so a test can see the stand-in is up.
inline void CreateRecord(const std::string& file) {
  FileHandle created(CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Sets the named event a test waits on; no name, nothing to do.
inline void SignalReady(const std::string& name) {
  if (name.empty()) return;
  KernelHandle event(OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str()));
  if (event) SetEvent(event.get());
}

}  // namespace quillet::standin
