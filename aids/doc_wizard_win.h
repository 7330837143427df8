#pragma once
// TDocExpDlg, the new-document wizard "文書作成ｳｨｻﾞｰﾄﾞ".
#include "win/form_win.h"

namespace quillet {

class TDocExpDlg : public Form {
 public:
  bool Create() {
    return CreateForm("TDocExpDlg", "文書作成ｳｨｻﾞｰﾄﾞ", 505, 279, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                      WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP);
  }
};

}  // namespace quillet
