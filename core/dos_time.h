#pragma once
// File ages as packed DOS date-times: the date in the high 16 bits, the time in the
// low 16 bits with 2-second resolution, held in 32 bits. A missing file has the age -1
// (all bits set, month 15: never a real time). Two times in the same 2-second slot are
// equal.
#include <cstdint>

namespace quillet {

constexpr std::int32_t kMissingFileAge = -1;

struct DateTime {
  int year, month, day, hour, minute, second;
};

// Packs a local date-time; the format holds 1980-01-01 00:00:00 to 2107-12-31 23:59:58,
// and a time outside gives the nearer end.
std::int32_t PackDosDateTime(const DateTime& t);

// Negative, zero or positive as a is older than, as old as, or newer than b; a missing
// file is older than any file.
int CompareFileAge(std::int32_t a, std::int32_t b);

}  // namespace quillet
