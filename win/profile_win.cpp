#include "win/profile_win.h"

#include <windows.h>

#include "core/profile_values.h"
#include "win/file_io_win.h"

namespace quillet {

std::string ProfileFile::ReadString(const char* section, const char* key, const std::string& def) const {
  // One byte more than a value may hold, so a longer value is seen and cut on a
  // character boundary.
  char buffer[kProfileStringLimit + 2];
  DWORD n = GetPrivateProfileStringA(section, key, def.c_str(), buffer, sizeof(buffer), path_.c_str());
  return CutProfileString(std::string_view(buffer, n));
}

std::string ProfileReader::ReadString(const char* section, const char* key, const std::string& def) const {
  const ProfileSection* found = Section(section);
  if (!found) return file_.ReadString(section, key, def);
  std::optional<std::string> value = found->Find(key);
  return value ? CutProfileString(*value) : def;
}

ProfileReader::ProfileReader(const ProfileFile& file) : file_(file) {
  TextBlock block;
  ReadStatus status = ReadFileBlock(file.DiskPath(), block, kProfileFileLimit);
  if (status == ReadStatus::Ok) text_.emplace(std::string_view(block.data.get(), block.size));
  if (status == ReadStatus::Missing) text_.emplace();
}

std::optional<std::vector<std::string>> ProfileReader::KeyNames(const char* section) const {
  if (!text_) return std::nullopt;
  const ProfileSection* found = Section(section);
  return found ? found->KeyNames() : std::vector<std::string>();
}

const ProfileSection* ProfileReader::Section(const char* name) const {
  if (!text_) return nullptr;
  auto found = sections_.find(name);
  if (found == sections_.end()) {
    std::optional<std::string> entries = text_->SectionEntries(name);
    found = sections_.emplace(name, ProfileSection(entries ? *entries : std::string())).first;
  }
  return &found->second;
}

std::string ProfileFile::DiskPath() const {
  if (path_.find_first_of("\\/:") != std::string::npos) return path_;
  char windows[MAX_PATH];
  UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
  return n && n < MAX_PATH ? std::string(windows, n) + "\\" + path_ : path_;
}

bool ProfileFile::WriteString(const char* section, const char* key, const std::string& value) const {
  return ProfileWriter(*this).String(section, key, value).Commit();
}

bool ProfileFile::WriteInt(const char* section, const char* key, int value) const {
  return WriteString(section, key, FormatProfileInt(value));
}

bool ProfileFile::WriteBool(const char* section, const char* key, bool value) const {
  return WriteString(section, key, FormatProfileBool(value));
}

std::string ProfileFile::WriteErrorText() const { return path_ + " に書き込めません"; }

ProfileWriter::ProfileWriter(const ProfileFile& file) : disk_path_(file.DiskPath()) {
  TextBlock block;
  ReadStatus status = ReadFileBlock(disk_path_, block, kProfileFileLimit);
  if (status == ReadStatus::Ok) text_ = ProfileText(std::string_view(block.data.get(), block.size));
  // A file that is there but cannot be read whole must not be replaced by the changes alone.
  if (status == ReadStatus::TooLarge) read_error_ = ERROR_FILE_TOO_LARGE;
  if (status == ReadStatus::CannotOpen) {
    DWORD error = GetLastError();
    read_error_ = HeldByAnotherProgram(disk_path_) ? ERROR_SHARING_VIOLATION : error ? error : ERROR_READ_FAULT;
  }
}

ProfileWriter& ProfileWriter::String(const char* section, const char* key, const std::string& value) {
  text_.Set(section, key, value);
  return *this;
}

ProfileWriter& ProfileWriter::EraseSection(const char* section) {
  text_.EraseSection(section);
  return *this;
}

bool ProfileWriter::Commit() {
  if (read_error_) {
    SetLastError(read_error_);
    return false;
  }
  std::string_view parts[] = {text_.text()};
  SaveReport report = SaveFileWithBackup(disk_path_, parts, "");
  if (!report.saved) SetLastError(report.error);
  return report.saved;
}

ProfileWriter& ProfileWriter::Int(const char* section, const char* key, int value) {
  return String(section, key, FormatProfileInt(value));
}

ProfileWriter& ProfileWriter::Bool(const char* section, const char* key, bool value) {
  return String(section, key, FormatProfileBool(value));
}

}  // namespace quillet
