#pragma once
// File ages as packed DOS date-times: the date in the high 16 bits, the time in the
// low 16 bits with 2-second resolution. A missing file has the age -1. Ages are
// compared as signed integers, so two times in the same 2-second slot are equal.
#include <cstdint>

namespace quillet {

constexpr std::int32_t kMissingFileAge = -1;

struct DateTime {
  int year, month, day, hour, minute, second;
};

// Packs a local date-time; years before 1980 are not representable and give 1980-01-01.
std::int32_t PackDosDateTime(const DateTime& t);

// Negative, zero or positive as a is older than, as old as, or newer than b.
int CompareFileAge(std::int32_t a, std::int32_t b);

}  // namespace quillet
