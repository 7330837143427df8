// The Find menu: find and replace through the modeless dialogs, the jumps to a line,
// the top and the end of the active document, the heading index and the next heading.
#include "app/find_commands_win.h"

#include "aids/heading_index.h"
#include "aids/section_dialog_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "document/jump_dialog_win.h"
#include "document/jump_line.h"
#include "document/mdi_child_win.h"
#include "editor/editor_win.h"

namespace quillet {

HWND FindCommands::MessageOwner() const { return main_.hwnd(); }

Messages& FindCommands::messages() { return main_.messages(); }

HWND FindCommands::ActiveEditor() const { return main_.ActiveEditor(); }

void FindCommands::FindStrItemClick() { finder_.ShowFind(); }

void FindCommands::ReplaceStrItemClick() { finder_.ShowReplace(); }

void FindCommands::NextItemClick() { finder_.FindNext(); }

void FindCommands::JumptoItemClick() {
  if (!ActiveEditor()) return;
  TJumpDlg& dialog = main_.app().JumpDlg();
  dialog.Prepare(HighestJumpLine(ActiveEditor()));
  CenterOnScreen(dialog.hwnd());
  if (dialog.ShowModal(main_.hwnd()) != IDOK) return;
  HWND editor = ActiveEditor();
  if (!editor) return;
  int line = dialog.Number();
  if (line <= 0 || line > HighestJumpLine(editor)) {
    messages().Warn(MessageOwner(), kLineOutOfRange);
    return;
  }
  long start = LineStartForJump(editor, line);
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(start), start);
}

void FindCommands::JumpTopItemClick() {
  if (HWND editor = ActiveEditor()) SendMessageA(editor, EM_SETSEL, 0, 0);
}

void FindCommands::JumpEndItemClick() {
  HWND editor = ActiveEditor();
  if (!editor) return;
  LRESULT end = SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0);
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void FindCommands::FindSecItemClick() {
  TSectionDlg& dialog = main_.app().SectionDlg();
  dialog.SetEditor(ActiveEditor());
  CenterOnScreen(dialog.hwnd());
  dialog.ShowModal(main_.hwnd());
}

// The next heading keyword after the selection, selected; one pass finds the nearest.
void FindCommands::JumpNextItemClick() {
  HWND editor = ActiveEditor();
  if (!editor) return;
  DWORD start = 0, end = 0;
  SendMessageA(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  FindAnyText find{.texts = kHeadingKeywords, .min = static_cast<long>(end), .max = -1};
  LRESULT at = SendMessageA(editor, EM_FINDANY, FR_MATCHCASE, reinterpret_cast<LPARAM>(&find));
  if (at < 0) {
    messages().Inform(MessageOwner(), "見出しはもうありません。");
    return;
  }
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(at), at + static_cast<LPARAM>(kHeadingKeywords[find.index].size()));
}

}  // namespace quillet
