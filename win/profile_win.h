#pragma once
// Settings files read and written through the platform's private-profile functions.
#include <map>
#include <optional>
#include <string>

#include "core/profile_section.h"
#include "core/profile_source.h"

namespace quillet {

class ProfileFile : public ProfileSource {
 public:
  // A bare name lives where the platform puts it (the Windows directory).
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  std::string ReadString(const char* section, const char* key, const std::string& def = "") const override;

  // False when the platform refuses the write.
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

// Writes keys in order and stops at the first refused write, so the keys written before it
// stay written. ok() tells whether every write went through.
class ProfileWriter {
 public:
  explicit ProfileWriter(const ProfileFile& file) : file_(file) {}
  ProfileWriter& String(const char* section, const char* key, const std::string& value);
  ProfileWriter& Int(const char* section, const char* key, int value);
  ProfileWriter& Bool(const char* section, const char* key, bool value);
  bool ok() const { return ok_; }

 private:
  const ProfileFile& file_;
  bool ok_ = true;
};

}  // namespace quillet
