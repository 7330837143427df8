#include "win/profile_win.h"

#include <windows.h>

#include "core/profile_values.h"

namespace quillet {

std::string ProfileFile::ReadString(const char* section, const char* key, const std::string& def) const {
  // One byte more than a value may hold, so a longer value is seen and cut on a
  // character boundary.
  char buffer[kProfileStringLimit + 2];
  DWORD n = GetPrivateProfileStringA(section, key, def.c_str(), buffer, sizeof(buffer), path_.c_str());
  return CutProfileString(std::string_view(buffer, n));
}

int ProfileFile::ReadInt(const char* section, const char* key, int def) const {
  return ParseProfileInt(ReadString(section, key, FormatProfileInt(def)), def);
}

bool ProfileFile::ReadBool(const char* section, const char* key, bool def) const {
  return ParseProfileBool(ReadString(section, key, FormatProfileBool(def)), def);
}

bool ProfileFile::WriteString(const char* section, const char* key, const std::string& value) const {
  return WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str()) != FALSE;
}

bool ProfileFile::WriteInt(const char* section, const char* key, int value) const {
  return WriteString(section, key, FormatProfileInt(value));
}

bool ProfileFile::WriteBool(const char* section, const char* key, bool value) const {
  return WriteString(section, key, FormatProfileBool(value));
}

std::string ProfileFile::WriteErrorText() const { return path_ + " に書き込めません"; }

ProfileWriter& ProfileWriter::String(const char* section, const char* key, const std::string& value) {
  if (ok_) ok_ = file_.WriteString(section, key, value);
  return *this;
}

ProfileWriter& ProfileWriter::Int(const char* section, const char* key, int value) {
  return String(section, key, FormatProfileInt(value));
}

ProfileWriter& ProfileWriter::Bool(const char* section, const char* key, bool value) {
  return String(section, key, FormatProfileBool(value));
}

}  // namespace quillet
