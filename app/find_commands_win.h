#pragma once
// The Find menu's commands: they own the find and replace dialogs' search, and jump in
// the active document.
#include <windows.h>

#include "document/find_replace_win.h"

namespace quillet {

class TMainForm;

class FindCommands : public FindHost {
 public:
  explicit FindCommands(TMainForm& main) : main_(main) {}

  FindReplace& finder() { return finder_; }
  void FindStrItemClick();
  void ReplaceStrItemClick();
  void NextItemClick();
  void JumptoItemClick();
  void JumpTopItemClick();
  void JumpEndItemClick();
  void FindSecItemClick();
  void JumpNextItemClick();

  HWND MessageOwner() const override;
  Messages& messages() override;
  HWND ActiveEditor() const override;

 private:
  TMainForm& main_;
  FindReplace finder_{*this};
};

}  // namespace quillet
