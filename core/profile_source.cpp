#include "core/profile_source.h"

#include "core/profile_values.h"

namespace quillet {

int ProfileSource::ReadInt(const char* section, const char* key, int def) const {
  return ParseProfileInt(ReadString(section, key, FormatProfileInt(def)), def);
}

bool ProfileSource::ReadBool(const char* section, const char* key, bool def) const {
  return ParseProfileBool(ReadString(section, key, FormatProfileBool(def)), def);
}

}  // namespace quillet
