#pragma once
// What every fuzz target uses to state its rules and to cut its input into parts.
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace fuzz_checks {

// Ends the run at a broken rule, naming the check's line.
inline void Require(bool holds, int line = __builtin_LINE()) {
  if (holds) return;
  std::fprintf(stderr, "broken rule at line %d\n", line);
  std::abort();
}

// The input's parts between NUL bytes (one part when it has none).
inline std::vector<std::string_view> SplitAtNul(std::string_view input) {
  std::vector<std::string_view> parts;
  for (std::size_t begin = 0;;) {
    std::size_t end = input.find('\0', begin);
    parts.push_back(input.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
    if (end == std::string_view::npos) return parts;
    begin = end + 1;
  }
}

}  // namespace fuzz_checks
