#pragma once
// Where settings are read from: a settings file a key at a time, a pass over many keys,
// or (in tests) a table.
#include <string>

namespace quillet {

class ProfileSource {
 public:
  virtual ~ProfileSource() = default;
  // The stored value, at most 1023 bytes; def when the key or file is missing.
  virtual std::string ReadString(const char* section, const char* key, const std::string& def = "") const = 0;
  // Integers and booleans as the value rules read them; def when missing or malformed.
  int ReadInt(const char* section, const char* key, int def) const;
  bool ReadBool(const char* section, const char* key, bool def) const;
};

}  // namespace quillet
