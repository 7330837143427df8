#include "core/dos_time.h"

namespace quillet {

std::int32_t PackDosDateTime(const DateTime& t) {
  if (t.year < 1980) return PackDosDateTime({1980, 1, 1, 0, 0, 0});
  if (t.year > 2107) return PackDosDateTime({2107, 12, 31, 23, 59, 59});
  std::uint32_t date = static_cast<std::uint32_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
  std::uint32_t time = static_cast<std::uint32_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
  return static_cast<std::int32_t>((date << 16) | time);
}

int CompareFileAge(std::int32_t a, std::int32_t b) {
  // The year's top bit is the sign bit (2044 on), so ages compare as unsigned numbers,
  // with a missing file put below every real time.
  auto rank = [](std::int32_t age) -> std::uint64_t {
    return age == kMissingFileAge ? 0 : std::uint64_t{static_cast<std::uint32_t>(age)} + 1;
  };
  std::uint64_t ra = rank(a), rb = rank(b);
  return ra < rb ? -1 : ra > rb ? 1 : 0;
}

}  // namespace quillet
