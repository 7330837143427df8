#pragma once
// TMacroDlg, the fixed-macro dialog "定型ﾏｸﾛの挿入": each showing lists the macro files of
// the macro folder, shows the one selected and inserts its body as whole lines before the
// caret's line.
#include <windows.h>

#include <string>
#include <vector>

#include "win/form_win.h"

namespace quillet {

class TMacroDlg : public Form {
 public:
  bool Create();
  // Before a showing: the folder setting and the editor the body goes into.
  void Prepare(const std::string& macro_path, HWND editor);
  void EnsureContents() override;

  HWND Label1 = nullptr, ListBox = nullptr, Label3 = nullptr, Title = nullptr, Label2 = nullptr, Memo = nullptr,
       Button1 = nullptr, Button2 = nullptr, Button4 = nullptr;

  void ListBoxClick();
  void Button1Click();

 protected:
  void BuildContents() override;
  int DefaultButtonId() const override { return IDOK; }
  void FormActivate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FillList();
  void Layout();

  std::string folder_, body_;
  HWND editor_ = nullptr;
  bool list_pending_ = false;
};

}  // namespace quillet
