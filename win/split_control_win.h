#pragma once
// A splitter: a thin bar between two controls that the user drags to move the border
// between them. While the drag is under way a line drawn in XOR mode on the window
// follows the mouse; the control is sized only when the button is released.
#include <windows.h>

#include <functional>
#include <optional>

#include "win/window_win.h"

namespace quillet {

// The bar itself: shows the sizing cursor and passes its mouse messages on.
class SplitterBar : public Window {
 public:
  // A bar wider than high (horizontal) moves up and down.
  bool Create(HWND parent, bool horizontal);
  // WM_LBUTTONDOWN, WM_MOUSEMOVE, a button release or WM_CAPTURECHANGED, with the key
  // state and the point in the bar's own coordinates.
  std::function<void(UINT msg, WPARAM keys, POINT at)> on_mouse;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool horizontal_ = true;
};

// Carries out one drag of a splitter: the window it lies in, the splitter held (none while
// idle), the control it sizes and the drag line's place in the splitter's coordinates.
class TSplitControl {
 public:
  TSplitControl(HWND form, HWND sized_control) : form_(form), control_(sized_control) {}
  ~TSplitControl();
  TSplitControl(const TSplitControl&) = delete;
  TSplitControl& operator=(const TSplitControl&) = delete;

  bool dragging() const { return splitter_ != nullptr; }
  // Starts a drag on a left-button press with no other button and no Shift, Ctrl or Alt.
  void MouseDown(HWND splitter, WPARAM keys);
  void MouseMove(POINT at);
  // Ends the drag under way: the sized control's new height (its width for a vertical
  // splitter), its far edge moved to the line; nothing when no drag was under way.
  std::optional<int> MouseUp();
  // Ends the drag under way leaving the control as it is (the mouse capture was lost).
  void Cancel();

 private:
  void DrawLine() const;

  HWND form_, control_, splitter_ = nullptr;
  bool horizontal_ = true;
  int position_ = 0;
  HDC dc_ = nullptr;
  HPEN pen_ = nullptr;
};

}  // namespace quillet
