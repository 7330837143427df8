#pragma once
// A status bar of panels with fixed widths.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace quillet {

class StatusBar {
 public:
  bool Create(HWND parent, std::initializer_list<int> widths, int height, HFONT font);
  HWND hwnd() const { return hwnd_; }
  int height() const { return height_; }
  void SetText(int panel, const std::string& text);
  std::string Text(int panel) const;
  // Repaints now instead of waiting for the next WM_PAINT.
  void Repaint();
  void Layout();  // after the parent was resized

 private:
  HWND hwnd_ = nullptr;
  int panels_ = 0;
  int height_ = 0;
};

}  // namespace quillet
