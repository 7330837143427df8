#pragma once
// A status bar of panels with fixed widths, drawn by the program itself: panels change
// on every key typed, and only the panel whose text changed is repainted. It answers
// SB_GETPARTS, SB_GETTEXTA and SB_GETTEXTLENGTHA like the platform's status bar.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "win/window_win.h"

namespace quillet {

// A panel's width for its widest text in font, at least at_least pixels.
int PanelWidthFor(HFONT font, const std::string& widest, int at_least);

class StatusBar : public Window {
 public:
  bool Create(HWND parent, std::initializer_list<int> widths, int height, HFONT font);
  int height() const { return height_; }
  void SetText(int panel, const std::string& text);
  std::string Text(int panel) const;
  // Repaints now instead of waiting for the next WM_PAINT.
  void Repaint();
  void Layout();  // after the parent was resized
  // The room a panel gives its text, in pixels.
  int TextRoom(int panel) const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  RECT PanelRect(int panel) const;
  void Paint(HDC dc, const RECT& dirty);

  std::vector<int> edges_;  // right edge of each panel
  std::vector<std::string> texts_;
  int height_ = 0;
  HFONT font_ = nullptr;
  RECT dirty_{};  // panels changed since they were last painted
};

}  // namespace quillet
