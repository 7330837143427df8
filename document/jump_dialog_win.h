#pragma once
// TJumpDlg, the jump-to-line dialog "指定行へｼﾞｬﾝﾌﾟ".
#include "win/form_win.h"

namespace quillet {

class TJumpDlg : public Form {
 public:
  bool Create() {
    return CreateForm("TJumpDlg", "指定行へｼﾞｬﾝﾌﾟ", 149, 74, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                      WS_EX_DLGMODALFRAME);
  }
};

}  // namespace quillet
