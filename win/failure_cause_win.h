#pragma once
// Why a file could not be written or read, told as the program tells the user: the cause
// and what the user can do, for the platform's error of the step that failed.
#include <windows.h>

#include <string>

namespace quillet {

// One line (no line break): "ﾃﾞｨｽｸがいっぱいです。…" and so on; a cause the program does
// not name gives its error code. ERROR_FILE_READ_ONLY is a read-only file.
std::string FailureCauseText(DWORD error);
// The same for a file the program writes for itself (settings, autosave copies): what the
// user can do is to mend the cause and try again, not to pick another name.
std::string RetryCauseText(DWORD error);
// The same for a file that could not be opened for reading.
std::string OpenFailureCauseText(DWORD error);

// first_line, a line break and the cause of the last failed write of a settings file
// (the platform's last error, which the settings writer leaves set as its own calls do).
std::string WithWriteCause(const std::string& first_line);

}  // namespace quillet
