#pragma once
// Settings files read and written through the platform's private-profile functions.
#include <string>

namespace quillet {

class ProfileFile {
 public:
  // A bare name lives where the platform puts it (the Windows directory).
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }

  // The stored value, at most 1023 bytes; def when the key or file is missing.
  std::string ReadString(const char* section, const char* key, const std::string& def = "") const;
  int ReadInt(const char* section, const char* key, int def) const;
  bool ReadBool(const char* section, const char* key, bool def) const;

  // False when the platform refuses the write.
  bool WriteString(const char* section, const char* key, const std::string& value) const;
  bool WriteInt(const char* section, const char* key, int value) const;
  bool WriteBool(const char* section, const char* key, bool value) const;

  // The message shown when a write is refused: "<file> に書き込めません".
  std::string WriteErrorText() const;

 private:
  std::string path_;
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
