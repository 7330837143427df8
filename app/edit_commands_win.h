#pragma once
// The Edit menu's commands: single requests to the active document's editor.

namespace quillet {

class TMainForm;

class EditCommands {
 public:
  explicit EditCommands(TMainForm& main) : main_(main) {}

  void UndoItemClick();
  void CutItemClick();
  void CopyItemClick();
  void PasteItemClick();
  void DeleteItemClick();
  void SelectAllItemClick();

 private:
  TMainForm& main_;
};

}  // namespace quillet
