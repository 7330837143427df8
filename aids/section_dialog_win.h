#pragma once
// TSectionDlg, the heading search dialog "見出しの検索".
#include "win/form_win.h"

namespace quillet {

class TSectionDlg : public Form {
 public:
  bool Create() {
    return CreateForm("TSectionDlg", "見出しの検索", 394, 225,
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);
  }
};

}  // namespace quillet
