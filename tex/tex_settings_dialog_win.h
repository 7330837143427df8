#pragma once
// TPagesDlg, the TeX settings dialog "TeXの設定": pages for the engine's directory
// variables, the TeX menu, the font mapping and the basic styles of wintex.ini.
#include "win/form_win.h"
#include "win/page_control_win.h"

namespace quillet {

class TPagesDlg : public Form {
 public:
  bool Create();
  PageControl PageCtl;
  HWND OKBtn = nullptr, CancelBtn = nullptr, ApplyBtn = nullptr, HelpBtn = nullptr;

 protected:
  void BuildContents() override;
  int DefaultButtonId() const override { return IDOK; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace quillet
