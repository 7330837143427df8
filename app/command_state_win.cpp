// Command state and status bar: which commands are enabled, and the panels that show the
// caret position, the size and the modified marker of the active document.
#include <windows.h>
#include <richedit.h>

#include <cstdio>

#include "aids/command_palette_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "document/mdi_child_win.h"

namespace quillet {

namespace {
constexpr const char* kDocumentCommands[] = {
    "FileInsertItem", "FileSaveAsItem", "FilePrintItem",  "CutItem",           "CopyItem",
    "DeleteItem",     "PasteItem",      "SelectAllItem",  "FindStrItem",       "NextItem",
    "ReplaceStrItem", "JumptoItem",     "JumpTopItem",    "JumpEndItem",       "FindSecItem",
    "JumpNextItem",   "MacroItem",      "WindowCascadeItem", "WindowTileItem", "WindowArrangeItem",
    "WindowMinimizeItem", "WindowCloseAllItem",
};
}  // namespace

void TMainForm::UpdateMenuItems() {
  bool documents = !Children().empty();
  for (const char* name : kDocumentCommands) menu()[name].SetEnabled(documents);
  speed_panel_.SetEnabled(PrintBtn, documents);
  speed_panel_.SetEnabled(FindBtn, documents);
  SetAutoSaveRunning(documents);
  if (TMDIChild* doc = ActiveChild()) {
    status_bar_.SetText(kSizePanel, std::to_string(doc->TextLength()) + "ﾊﾞｲﾄ");
    ShowCommandPalette(CommandInputVisible);
    menu()["ComInputItem"].SetEnabled(true);
    UpdateCaretPosition();
    speed_panel_.SetEnabled(UndoBtn, SendMessageA(doc->Memo, EM_CANUNDO, 0, 0) != 0);
    CHARRANGE sel{};
    SendMessageA(doc->Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    speed_panel_.SetEnabled(CutBtn, sel.cpMax > sel.cpMin);
    speed_panel_.SetEnabled(CopyBtn, sel.cpMax > sel.cpMin);
    OnClipboardChange();
    if (doc->modified()) {
      MarkModified();
    } else {
      MarkUnmodified();
    }
  } else {
    ShowCommandPalette(false);
    menu()["ComInputItem"].SetEnabled(false);
    for (ToolButton b : {CutBtn, CopyBtn, PasteBtn}) speed_panel_.SetEnabled(b, false);
    MarkUnmodified();
    speed_panel_.SetEnabled(UndoBtn, false);
    status_bar_.SetText(kCaretPanel, "");
    status_bar_.SetText(kSizePanel, "");
  }
}

void TMainForm::MarkModified() {
  status_bar_.SetText(kModifiedPanel, "変更");
  menu()["FileSaveItem"].SetEnabled(true);
  speed_panel_.SetEnabled(SaveBtn, true);
}

void TMainForm::MarkUnmodified() {
  status_bar_.SetText(kModifiedPanel, "");
  menu()["FileSaveItem"].SetEnabled(false);
  speed_panel_.SetEnabled(SaveBtn, false);
}

void TMainForm::UpdateCaretPosition() {
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  LRESULT line_start = SendMessageA(doc->Memo, EM_LINEINDEX, static_cast<WPARAM>(-1), 0);
  CHARRANGE sel{};
  SendMessageA(doc->Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  long column = sel.cpMin + (sel.cpMax - sel.cpMin) - static_cast<long>(line_start) + 1;
  long line = static_cast<long>(SendMessageA(doc->Memo, EM_LINEFROMCHAR, static_cast<WPARAM>(line_start), 0)) + 1;
  char text[32];
  std::snprintf(text, sizeof(text), "%5ld:%4ld", line, column);
  status_bar_.SetText(kCaretPanel, text);
  status_bar_.Repaint();
}

void TMainForm::EnableTeXCommands() { SetTeXCommandsEnabled(true); }

void TMainForm::DisableTeXCommands() { SetTeXCommandsEnabled(false); }

void TMainForm::SetTeXCommandsEnabled(bool on) {
  const std::pair<const char*, ToolButton> pairs[] = {{"TeX1Item", TeX1Btn}, {"TeX2Item", TeX2Btn}, {"TeX3Item", TeX3Btn}};
  for (auto [item, button] : pairs) {
    menu()[item].SetEnabled(on);
    speed_panel_.SetEnabled(button, on);
  }
}

void TMainForm::RebuildRecentFileItems() {
  const char* items[] = {"FileName1", "FileName2", "FileName3", "FileName4"};
  for (int n = 1; n <= RecentFiles::kShown; ++n) {
    MenuNode& item = menu()[items[n - 1]];
    item.SetCaption(recent_files.Caption(n));
    item.SetVisible(!recent_files.entry(n).empty());
  }
  menu()["N7"].SetVisible(recent_files.AnyShown());
}

}  // namespace quillet
