#include "app/window_bounds.h"

namespace quillet {

Bounds UsableBounds(const Bounds& stored, const Bounds& fallback, ScreenSize screen, int min_width, int min_height) {
  Bounds b = stored;
  long long max_width = 4LL * screen.width, max_height = 4LL * screen.height;
  if (b.width < min_width || b.height < min_height || b.width > max_width || b.height > max_height) {
    b.width = fallback.width;
    b.height = fallback.height;
  }
  // Overflow-safe: coordinates far outside the screen count as off it.
  long long right = static_cast<long long>(b.x) + b.width, bottom = static_cast<long long>(b.y) + b.height;
  bool off_screen = right <= 0 || bottom <= 0 || b.x >= screen.width || b.y >= screen.height;
  if (off_screen) {
    b.x = fallback.x;
    b.y = fallback.y;
  }
  return b;
}

int UsablePercent(int stored, int fallback) { return stored >= 0 && stored <= 100 ? stored : fallback; }

}  // namespace quillet
