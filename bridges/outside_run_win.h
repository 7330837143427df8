#pragma once
// How the bridges start the TeX tools: under Wine the Linux programs, through /bin/sh with
// Linux file names (Wine gives no usable process handle for them, so each script writes a
// marker file when it is done); on Windows the programs themselves. A bridge's settings
// file can send it the Windows way under Wine too: [Bridge] Tools=Windows (how the tests
// run the Windows programs' path, with Windows stand-ins for the tools).
#include <windows.h>

#include <string>

#include "win/handles_win.h"
#include "win/system_dll_win.h"  // UnderWine

namespace quillet {

// Whether the bridge runs the Linux tools through /bin/sh: under Wine, unless its settings
// file says [Bridge] Tools=Windows. On Windows never.
bool RunsLinuxTools(const std::string& settings_file);

// The Linux name of a file name under Wine; empty when there is none.
std::string UnixFileName(const std::string& name);

// Writes script to script_file and starts /bin/sh on it, in the background.
bool StartShellScript(const std::string& script_file, const std::string& script);

// Writes bytes to a file whole: first beside it, then renamed over it, so that a reader
// never sees it half written.
bool WriteWhole(const std::string& path, const std::string& bytes);

// Starts a Windows program (command line) in a folder with the given text on its standard
// input and its output written to the file output (empty: the bridge's own); the process
// ends with the returned job when the bridge ends. False when it cannot be started.
struct StartedProgram {
  KernelHandle process;
  KernelHandle job;
};
bool StartProgram(const std::string& command_line, const std::string& folder, const std::string& input,
                  StartedProgram& started, const std::string& output = {});

}  // namespace quillet
