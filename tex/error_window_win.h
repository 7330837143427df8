#pragma once
// TErrorWin, the window "ｴﾗｰﾒｯｾｰｼﾞ" that lists the errors of the last TeX run. It floats
// above the other windows and is hidden until first needed.
#include <functional>
#include <string>

#include "core/foreign_chars.h"
#include "win/form_win.h"

namespace quillet {

class TErrorWin : public Form {
 public:
  bool Create(HWND owner);
  HWND Memo = nullptr;
  // Shows the lines, one under the other; characters Shift-JIS lacks have codes of chars.
  void ShowText(const std::string& text, ForeignChars chars = {});
  // Told whenever the window is shown or hidden (the View menu's check mark follows it).
  std::function<void(bool shown)> on_visibility;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace quillet
