#pragma once
// Window places read back from the settings file are checked before use, so a damaged
// file cannot put a window out of reach or give it an unusable size.

namespace quillet {

struct Bounds {
  int x, y, width, height;
  bool operator==(const Bounds&) const = default;
};

struct ScreenSize {
  int width, height;
};

// The stored bounds when usable; otherwise fallback's size (for a size smaller than
// min_width x min_height or larger than four screens) and fallback's place (for a window
// lying wholly off the screen).
Bounds UsableBounds(const Bounds& stored, const Bounds& fallback, ScreenSize screen, int min_width, int min_height);

// A percentage of 0..100, else fallback.
int UsablePercent(int stored, int fallback);

}  // namespace quillet
