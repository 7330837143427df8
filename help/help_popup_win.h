#pragma once
// The pop-up help window: one topic in the info-tip colours beside the mouse, gone at
// the next click, key or change of the active window.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "help/help_file.h"
#include "win/handles_win.h"
#include "win/window_win.h"

namespace quillet {

class HelpPopup : public Window {
 public:
  ~HelpPopup() override;

  // Shows the topic, owned by the top-level window of owner (which may be null), and
  // replaces a pop-up already shown. False when the window cannot be made.
  bool Show(HWND owner, const HelpTopic& topic);
  void Close();

  const std::string& text() const { return text_; }  // empty when not shown

 private:
  struct Line {
    std::string text;
    bool bold;
    int height;
  };

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Detached() override;
  SIZE Layout(const HelpTopic& topic);
  int AddLines(HDC dc, std::string_view text, bool bold, int max_width);
  void Paint();
  void RequestClose();

  bool closing_ = false;
  std::string text_;
  std::vector<Line> lines_;
  FontHandle font_;
  FontHandle bold_font_;
};

}  // namespace quillet
