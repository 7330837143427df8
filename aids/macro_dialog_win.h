#pragma once
// TMacroDlg, the fixed-macro dialog "定型ﾏｸﾛの挿入".
#include "win/form_win.h"

namespace quillet {

class TMacroDlg : public Form {
 public:
  bool Create() {
    return CreateForm("TMacroDlg", "定型ﾏｸﾛの挿入", 486, 206,
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);
  }
};

}  // namespace quillet
