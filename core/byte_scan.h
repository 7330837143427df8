#pragma once
// Fast scans over big texts.
#include <string_view>

namespace quillet {

// True when the bytes hold a NUL (a sign of a file that is not text).
bool ContainsNul(std::string_view bytes);

}  // namespace quillet
