#pragma once
// Why a file could not be written or read, told as the program tells the user: the cause
// and what the user can do, for the platform's error of the step that failed.
#include <windows.h>

#include <string>

namespace quillet {

// One line (no line break): "ﾃﾞｨｽｸがいっぱいです。…" and so on; a cause the program does
// not name gives its error code.
std::string FailureCauseText(DWORD error, bool read_only);
// The same for a file that could not be opened for reading.
std::string OpenFailureCauseText(DWORD error);

}  // namespace quillet
