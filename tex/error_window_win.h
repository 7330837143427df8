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
  // source is the run's document, which the lines' places are named from.
  void ShowText(const std::string& text, ForeignChars chars = {}, const std::string& source = {});
  // Told whenever the window is shown or hidden (the View menu's check mark follows it).
  std::function<void(bool shown)> on_visibility;
  // Asked for with a double-click or Enter on a line that names a place: the run's source
  // at an engine's "l." line, or the file a tool named ("refs.bib:5: ...") beside it.
  std::function<void(const std::string& file, int line)> on_jump;
  // The place of the line holding the caret, as on_jump is told it.
  void JumpFromCaretLine();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  std::string source_;
};

}  // namespace quillet
