#include "app/edit_commands_win.h"

#include <windows.h>
#include <richedit.h>

#include "app/main_form_win.h"

namespace quillet {

namespace {
void Send(HWND editor, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  if (editor) SendMessageA(editor, msg, wp, lp);
}
}  // namespace

// One step back, and no further: the editor's undo would otherwise take back the undo.
void EditCommands::UndoItemClick() {
  HWND editor = main_.ActiveEditor();
  Send(editor, EM_UNDO);
  Send(editor, EM_EMPTYUNDOBUFFER);
}

void EditCommands::CutItemClick() { Send(main_.ActiveEditor(), WM_CUT); }

// The caret is left at the start of what was copied.
void EditCommands::CopyItemClick() {
  HWND editor = main_.ActiveEditor();
  if (!editor) return;
  SendMessageA(editor, WM_COPY, 0, 0);
  CHARRANGE sel{};
  SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(sel.cpMin), sel.cpMin);
}

void EditCommands::PasteItemClick() { Send(main_.ActiveEditor(), WM_PASTE); }

void EditCommands::DeleteItemClick() { Send(main_.ActiveEditor(), WM_CLEAR); }

void EditCommands::SelectAllItemClick() { Send(main_.ActiveEditor(), EM_SETSEL, 0, -1); }

}  // namespace quillet
