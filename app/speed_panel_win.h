#pragma once
// The tool bar: a bevelled panel of flat glyph buttons with tool tips. The buttons are
// drawn and hit-tested by the panel itself, so the whole bar is one window.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "artwork/artwork_win.h"

namespace quillet {

struct SpeedButtonDef {
  const char* name;  // e.g. "NewBtn"
  int x;             // left edge in the panel; every button is 22 x 22 at y = 5
  ToolGlyph glyph;
  const char* hint;  // "tool tip|status text" (status text may be empty)
  UINT command_id;   // sent to the parent as WM_COMMAND(MAKEWPARAM(id, BN_CLICKED), panel)
  bool enabled;      // at creation
};

inline constexpr int kSpeedPanelHeight = 32;
inline constexpr int kSpeedButtonSize = 22;
inline constexpr int kSpeedButtonTop = 5;

class SpeedPanel {
 public:
  SpeedPanel();
  ~SpeedPanel();
  SpeedPanel(const SpeedPanel&) = delete;
  SpeedPanel& operator=(const SpeedPanel&) = delete;

  // A child panel 32 px high across the top of parent (the caller positions it on
  // WM_SIZE with Move), raised inner and lowered outer bevel, tool tips on.
  bool Create(HWND parent, std::span<const SpeedButtonDef> buttons);
  HWND hwnd() const { return hwnd_; }
  void Move(int width);  // full width, height 32, at y 0 of parent
  void SetEnabled(std::size_t index, bool enabled);
  bool IsEnabled(std::size_t index) const;
  RECT button_rect(std::size_t index) const;     // in the panel's client coordinates
  std::string tooltip(std::size_t index) const;  // the part of the hint before "|"

  // Called with the status text (the part after "|") when the mouse enters a button,
  // and with an empty text when it leaves the panel.
  std::function<void(const std::string&)> on_hint;

 private:
  // A button is flat until the mouse is over it, raised then, sunken while pressed. It
  // never takes the focus and keeps its own enabled flag, so that its tool tip still
  // shows while it is disabled.
  struct Button {
    SpeedButtonDef def;
    bool enabled;
  };

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint();
  void PaintButton(HDC dc, std::size_t index) const;
  void Redraw(std::size_t index) const;
  std::optional<std::size_t> ButtonAt(LPARAM lp) const;
  void EnsureToolTips();
  void MouseMoved(LPARAM lp);
  void MouseLeft();
  void SetHot(std::optional<std::size_t> button);
  void Press(LPARAM lp);
  void Release(LPARAM lp);
  void EndPress();

  HWND hwnd_ = nullptr;
  HWND parent_ = nullptr;
  HWND tips_ = nullptr;  // made when the mouse first comes over the bar
  std::vector<Button> buttons_;
  bool watching_leave_ = false;
  std::optional<std::size_t> hot_;
  std::optional<std::size_t> hint_owner_;  // the button whose status text was announced last
  std::optional<std::size_t> tracking_;    // the mouse went down on it and has not come up yet
  bool pressed_ = false;                   // ... and is over it now
};

}  // namespace quillet
