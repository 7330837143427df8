#include "win/settings_location_win.h"

#include <windows.h>

#include "core/sjis.h"
#include "win/file_io_win.h"
#include "win/profile_win.h"

namespace quillet {

namespace {

// Whether a new file can be made in the folder: a file made and removed at once.
bool CanCreateFilesIn(const std::string& folder) {
  char probe[MAX_PATH];
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "qlt", 0, probe)) return false;
  DeleteFileA(probe);
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
