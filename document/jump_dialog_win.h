#pragma once
// TJumpDlg, the jump-to-line dialog "指定行へｼﾞｬﾝﾌﾟ", and the line reading of an editor it
// needs.
#include <windows.h>

#include "win/form_win.h"

namespace quillet {

class TJumpDlg : public Form {
 public:
  bool Create();
  HWND JumpRange = nullptr, JumpLine = nullptr, Button1 = nullptr, Button2 = nullptr;

  // Before each showing: an empty box, the jump button disabled, the range 1 to highest.
  void Prepare(int highest);
  // The number in the box as the jump reads it; 0 when it is none.
  int Number() const;
  void JumpLineChange();

 protected:
  int DefaultButtonId() const override { return IDOK; }
  void FormActivate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// The highest line an editor's text offers for a jump.
int HighestJumpLine(HWND editor);
// The start of a line (from 1) of an editor's text; the end of the text for the line
// after a text without a final break.
long LineStartForJump(HWND editor, int line);

}  // namespace quillet
