#include "app/window_bounds.h"

#include <gtest/gtest.h>

#include <climits>

namespace quillet {
namespace {

TEST(WindowBoundsTest, DamagedPlacesFallBackAndGoodOnesStay) {
  const ScreenSize screen{1280, 800};
  const Bounds fallback{0, 0, 1280, 800};
  struct Row { const char* what; Bounds stored; Bounds expected; } rows[] = {
      {"a normal window", {10, 20, 640, 480}, {10, 20, 640, 480}},
      {"partly off the left edge is still reachable", {-100, 10, 640, 480}, {-100, 10, 640, 480}},
      {"wholly right of the screen", {5000, 10, 640, 480}, {0, 0, 640, 480}},
      {"wholly above the screen", {10, -900, 640, 480}, {0, 0, 640, 480}},
      {"negative size", {10, 10, -5, 480}, {10, 10, 1280, 800}},
      {"zero height", {10, 10, 640, 0}, {10, 10, 1280, 800}},
      {"absurdly wide", {0, 0, 99999, 480}, {0, 0, 1280, 800}},
      {"coordinates at the integer limit", {INT_MAX, INT_MIN, 640, 480}, {0, 0, 640, 480}},
  };
  for (const auto& r : rows) EXPECT_EQ(UsableBounds(r.stored, fallback, screen, 100, 50), r.expected) << r.what;
}

TEST(WindowBoundsTest, PercentagesOutsideZeroToHundredFallBack) {
  EXPECT_EQ(UsablePercent(75, 75), 75);
  EXPECT_EQ(UsablePercent(0, 75), 0);
  EXPECT_EQ(UsablePercent(100, 75), 100);
  EXPECT_EQ(UsablePercent(101, 75), 75);
  EXPECT_EQ(UsablePercent(-1, 75), 75);
}

}  // namespace
}  // namespace quillet
