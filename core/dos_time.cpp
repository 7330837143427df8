#include "core/dos_time.h"

namespace quillet {

std::int32_t PackDosDateTime(const DateTime& t) {
  if (t.year < 1980) return PackDosDateTime({1980, 1, 1, 0, 0, 0});
  std::uint32_t date = static_cast<std::uint32_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
  std::uint32_t time = static_cast<std::uint32_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
  return static_cast<std::int32_t>((date << 16) | time);
}

int CompareFileAge(std::int32_t a, std::int32_t b) { return a < b ? -1 : a > b ? 1 : 0; }

}  // namespace quillet
