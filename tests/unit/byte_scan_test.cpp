#include "core/byte_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

TEST(ByteScanTest, FindsANulAnywhereAndNothingElse) {
  std::string text(1000, 'a');
  EXPECT_FALSE(ContainsNul(text));
  EXPECT_FALSE(ContainsNul(""));
  // High bytes (lead and trail bytes of double-byte characters) are not NUL.
  std::string high(64, '\x80');
  high += "\xFF\x81\x40\x9F\xFC";
  EXPECT_FALSE(ContainsNul(high));
  for (std::size_t at : {0u, 1u, 7u, 8u, 9u, 500u, 991u, 992u, 999u}) {
    std::string with = text;
    with[at] = '\0';
    EXPECT_TRUE(ContainsNul(with)) << at;
  }
}

}  // namespace
}  // namespace quillet
