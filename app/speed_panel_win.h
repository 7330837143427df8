#pragma once
// The tool bar: a bevelled panel of flat glyph buttons with tool tips.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/artwork_win.h"

namespace quillet {

struct SpeedButtonDef {
  const char* name;  // e.g. "NewBtn"
  int x;             // left edge in the panel; every button is 22 x 22 at y = 5
  ToolGlyph glyph;
  const char* hint;  // "tool tip|status text" (status text may be empty)
  UINT command_id;   // sent to the parent as WM_COMMAND(MAKEWPARAM(id, BN_CLICKED))
  bool enabled;      // at creation
};

inline constexpr int kSpeedPanelHeight = 32;
inline constexpr int kSpeedButtonSize = 22;
inline constexpr int kSpeedButtonTop = 5;

class SpeedButton;

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
  HWND button(std::size_t index) const;          // the button's child window
  std::string tooltip(std::size_t index) const;  // the part of the hint before "|"

  // Called with the status text (the part after "|") when the mouse enters a button,
  // and with an empty text when it leaves the panel.
  std::function<void(const std::string&)> on_hint;

 private:
  friend class SpeedButton;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint();
  bool AddToolTips();
  // The mouse moved over the panel itself (no button) or one of its buttons.
  void MouseMoved(HWND window, std::optional<std::size_t> button);
  void MouseLeft(HWND window);
  bool CursorOverPanel() const;
  void SetHot(std::optional<std::size_t> button);
  void ButtonClicked(std::size_t index);

  HWND hwnd_ = nullptr;
  HWND parent_ = nullptr;
  HWND tips_ = nullptr;
  std::vector<std::unique_ptr<SpeedButton>> buttons_;
  // One window at a time is watched for the mouse leaving: the one it last moved over.
  HWND tracked_ = nullptr;
  std::optional<std::size_t> hot_;
  std::optional<std::size_t> hint_owner_;  // the button whose status text was announced last
};

}  // namespace quillet
