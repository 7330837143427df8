#pragma once
// Settings files: read through the platform's private-profile functions, written whole
// and safely. The platform's writer rewrites the file in place and leaves it cut short
// when the disk is full; here the changed text goes to a temporary file beside it that
// takes the old file's place only when complete, so a refused write or a full disk
// leaves the file as it was. Lines the program does not change keep their bytes.
#include <map>
#include <optional>
#include <string>

#include "core/profile_section.h"
#include "core/profile_source.h"
#include "core/profile_text.h"

namespace quillet {

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

// A pass that reads many keys of a file: each section is read with one call and its keys
// are looked up in it, where a read per key would open the file each time. A section too
// big for one call is read key by key.
class ProfileReader : public ProfileSource {
 public:
  explicit ProfileReader(const ProfileFile& file) : file_(file) {}
  std::string ReadString(const char* section, const char* key, const std::string& def = "") const override;

 private:
  const ProfileSection* Section(const char* name) const;  // null: read key by key

  const ProfileFile& file_;
  mutable std::map<std::string, std::optional<ProfileSection>> sections_;
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
  // False when the file could not be replaced (it is then as it was).
  bool Commit();

 private:
  std::string disk_path_;
  ProfileText text_;
  bool readable_ = true;
};

}  // namespace quillet
