#pragma once
// Where the programs keep their own settings files. A bare name lives in the Windows
// directory, as stored files rely on; but a standard user on current Windows cannot write
// there (a 64-bit program gets no file virtualization), so the user's own copy in the
// application-data folder takes over: read first whenever it exists, and made (from the
// file in the usual place, so nothing set before is lost) when the usual place cannot be
// written.
#include <string>

namespace quillet {

// "%APPDATA%\TeX Quillet\", or empty when the environment names no such folder.
std::string UserSettingsFolder();

// The settings file to use for one whose usual place is usual_path (a bare name: the
// Windows directory): the user's copy when there is one, else usual_path when its folder
// can be written, else a new user's copy. usual_path when there is no user folder.
std::string SettingsFileToUse(const std::string& usual_path);

}  // namespace quillet
