// Command state and status bar: which commands are enabled, and the panels that show the
// caret position, the size and the modified marker of the active document.
#include <windows.h>
#include <richedit.h>

#include <cstdio>

#include "aids/command_palette_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"

namespace quillet {

CommandState TMainForm::CurrentCommandState() const {
  CommandState state{.tex_busy = run_.busy(), .tex_running = run_.running(), .synctex = run_.synctex(),
                     .exit_locked = run_.exit_locked(), .manual = app_.env_settings().ManualAvailable()};
  if (TMDIChild* doc = ActiveChild()) {
    CHARRANGE sel{};
    SendMessageA(doc->Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    state.document = true;
    state.file = !doc->is_untitled();
    state.modified = doc->modified();
    state.selection = sel.cpMax > sel.cpMin;
    state.can_undo = SendMessageA(doc->Memo, EM_CANUNDO, 0, 0) != 0;
    state.clipboard_text = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  }
  return state;
}

// Items and buttons only reach the platform when their state changes, so this is cheap
// enough for every key typed.
CommandState TMainForm::RefreshCommands() {
  CommandState state = CurrentCommandState();
  if (!menu_) return state;
  JudgeItems(*menu_, state);
  for (const CommandRow& row : CommandTable()) {
    if (row.button.slot != kToolButtonCount) speed_panel_.SetEnabled(row.button.slot, Allows(row.rule, state));
  }
  return state;
}

void TMainForm::JudgeMenu(MenuBar& menu) { JudgeItems(menu, CurrentCommandState()); }

// Menus and separators (no handler, no rule) keep their state.
void TMainForm::JudgeItems(MenuBar& menu, const CommandState& state) {
  for (const CommandRow& row : CommandTable()) {
    if (!row.run && row.rule == CommandRule::kAlways) continue;
    if (MenuNode* item = menu.FindById(row.menu.id)) item->SetEnabled(Allows(row.rule, state));
  }
}

std::vector<MenuItemDef> TMainForm::ContextMenuItems() const { return quillet::ContextMenuItems(); }

void TMainForm::UpdateMenuItems() {
  SetAutoSaveRunning(!Children().empty());
  TMDIChild* active = ActiveChild();
  ShowCoding(active);
  run_.CheckForwardSearchData();  // refreshes the commands
  if (TMDIChild* doc = active) {
    status_bar_.SetText(kSizePanel, std::to_string(doc->TextLength()) + "ﾊﾞｲﾄ");
    ShowCommandPalette(CommandInputVisible);
    UpdateCaretPosition();
    ShowModified(doc->modified());
  } else {
    ShowCommandPalette(false);
    ShowModified(false);
    status_bar_.SetText(kCaretPanel, "");
    status_bar_.SetText(kSizePanel, "");
  }
}

void TMainForm::DocumentChanged(TMDIChild& doc) {
  if (ActiveChild() != &doc) return;
  ShowModified(true);
  if (!run_.running()) status_bar_.SetText(kRunPanel, "");  // what a run said is past
  status_bar_.SetText(kSizePanel, std::to_string(doc.TextLength()) + "ﾊﾞｲﾄ");
}

void TMainForm::DocumentSelectionChanged(TMDIChild& doc) {
  if (ActiveChild() != &doc) return;
  UpdateCaretPosition();
  RefreshCommands();
}

void TMainForm::ShowModified(bool modified) {
  status_bar_.SetText(kModifiedPanel, modified ? "変更" : "");
  RefreshCommands();
}

int CaretLine(HWND memo) {
  LRESULT line_start = SendMessageA(memo, EM_LINEINDEX, static_cast<WPARAM>(-1), 0);
  return static_cast<int>(SendMessageA(memo, EM_LINEFROMCHAR, static_cast<WPARAM>(line_start), 0)) + 1;
}

void TMainForm::UpdateCaretPosition() {
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  LRESULT line_start = SendMessageA(doc->Memo, EM_LINEINDEX, static_cast<WPARAM>(-1), 0);
  CHARRANGE sel{};
  SendMessageA(doc->Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  long column = sel.cpMin + (sel.cpMax - sel.cpMin) - static_cast<long>(line_start) + 1;
  long line = CaretLine(doc->Memo);
  char text[32];
  std::snprintf(text, sizeof(text), "%5ld:%4ld", line, column);
  status_bar_.SetText(kCaretPanel, text);
  status_bar_.Repaint();
}

void TMainForm::RebuildRecentFileItems() {
  for (int n = 1; n <= RecentFiles::kShown; ++n) {
    MenuNode& item = menu().Item(kFileName1 + static_cast<UINT>(n - 1));
    item.SetCaption(recent_files.Caption(n));
    item.SetVisible(!recent_files.entry(n).empty());
  }
  menu().Item(kN7).SetVisible(recent_files.AnyShown());
}

}  // namespace quillet
