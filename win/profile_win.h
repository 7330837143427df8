#pragma once
// Settings files: read through the platform's private-profile functions, written whole
// and safely. The platform's writer rewrites the file in place and leaves it cut short
// when the disk is full; here the changed text goes to a temporary file beside it that
// takes the old file's place only when complete, so a refused write or a full disk
// leaves the file as it was. Lines the program does not change keep their bytes.
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "core/profile_section.h"
#include "core/profile_source.h"
#include "core/profile_text.h"

namespace quillet {

// Settings files are read and written whole up to this size; larger ones are read key by
// key and never rewritten.
inline constexpr std::uint64_t kProfileFileLimit = 64u << 20;

class ProfileFile : public ProfileSource {
 public:
  // A bare name lives where the platform puts it (the Windows directory).
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  // Where the file is: a bare name in the Windows directory, as the platform puts it.
  std::string DiskPath() const;

  std::string ReadString(const char* section, const char* key, const std::string& def = "") const override;

  // One key written at once; false when the file could not be replaced.
  bool WriteString(const char* section, const char* key, const std::string& value) const;
  bool WriteInt(const char* section, const char* key, int value) const;
  bool WriteBool(const char* section, const char* key, bool value) const;

  // The message shown when a write is refused: "<file> に書き込めません".
  std::string WriteErrorText() const;

 private:
  std::string path_;
};

// A pass that reads many keys of a file: the file is read once, whole, and its keys are
// found as the platform's reader finds them, where a read per key would open the file
// each time (and the platform parses a large file slowly: 10 MB took seconds). A file
// that cannot be read whole is read key by key through the platform.
class ProfileReader : public ProfileSource {
 public:
  explicit ProfileReader(const ProfileFile& file);
  std::string ReadString(const char* section, const char* key, const std::string& def = "") const override;
  // The keys with values of the section, in file order; nothing when the file could not
  // be read whole.
  std::optional<std::vector<std::string>> KeyNames(const char* section) const;

 private:
  const ProfileSection* Section(const char* name) const;  // null: read key by key

  const ProfileFile& file_;
  std::optional<ProfileText> text_;
  mutable std::map<std::string, ProfileSection> sections_;
};

// Changes to a settings file made in memory, in order, and written by Commit all at once
// or not at all.
class ProfileWriter {
 public:
  explicit ProfileWriter(const ProfileFile& file);
  ProfileWriter& String(const char* section, const char* key, const std::string& value);
  ProfileWriter& Int(const char* section, const char* key, int value);
  ProfileWriter& Bool(const char* section, const char* key, bool value);
  ProfileWriter& EraseSection(const char* section);
  // False when the file could not be replaced (it is then as it was), the platform's
  // last error then saying why (ERROR_FILE_READ_ONLY for a read-only file).
  bool Commit();

 private:
  std::string disk_path_;
  ProfileText text_;
  DWORD read_error_ = 0;  // why the file that is there could not be read whole
};

}  // namespace quillet
