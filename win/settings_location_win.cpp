#include "win/settings_location_win.h"

#include <windows.h>

#include <string>

#include "core/sjis.h"
#include "win/file_io_win.h"
#include "win/profile_win.h"

namespace quillet {

namespace {

// Whether a new file can be made in the folder: one made, and gone when closed. (The
// platform's temporary-name call is no test: under Wine it answers a name even when
// the file could not be made.)
bool CanCreateFilesIn(const std::string& folder) {
  std::string probe = folder + "qlt" + std::to_string(GetCurrentProcessId()) + ".tmp";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
  CloseHandle(file);
  return true;
}

}  // namespace

std::string UserSettingsFolder() {
  char app_data[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("APPDATA", app_data, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::string folder(app_data, n);
  if (folder.back() != '\\') folder += '\\';
  return folder + "TeX Quillet\\";
}

std::string SettingsFileToUse(const std::string& usual_path) {
  std::string folder = UserSettingsFolder();
  if (folder.empty()) return usual_path;
  std::string usual = ProfileFile(usual_path).DiskPath(), own = folder + ExtractFileName(usual);
  if (FileExists(own)) return own;
  if (CanCreateFilesIn(ExtractFilePath(usual))) return usual_path;
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return usual_path;
  // The first time: what was set in the usual place comes along.
  if (FileExists(usual) && !CopyFileA(usual.c_str(), own.c_str(), TRUE)) return usual_path;
  return own;
}

}  // namespace quillet
