// The Insert menu: fixed macros from the macro folder.
#include "aids/macro_dialog_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"

namespace quillet {

void TMainForm::MacroItemClick() {
  HWND editor = ActiveEditor();
  if (!editor) return;
  TMacroDlg& dialog = app_.MacroDlg();
  dialog.Prepare(app_.env_settings().general.macro_path, editor);
  CenterOnScreen(dialog.hwnd());
  if (dialog.ShowModal(hwnd()) == IDOK) UpdateCaretPosition();
}

}  // namespace quillet
