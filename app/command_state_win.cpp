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

namespace {
constexpr CommandId kDocumentCommands[] = {
    kFileInsertItem, kFileSaveAsItem, kFilePrintItem,  kCutItem,           kCopyItem,
    kDeleteItem,     kPasteItem,      kSelectAllItem,  kFindStrItem,       kNextItem,
    kReplaceStrItem, kJumptoItem,     kJumpTopItem,    kJumpEndItem,       kFindSecItem,
    kJumpNextItem,   kMacroItem,      kWindowCascadeItem, kWindowTileItem, kWindowArrangeItem,
    kWindowMinimizeItem, kWindowCloseAllItem,
};
}  // namespace

void TMainForm::UpdateMenuItems() {
  bool documents = !Children().empty();
  for (CommandId id : kDocumentCommands) menu().Item(id).SetEnabled(documents);
  speed_panel_.SetEnabled(PrintBtn, documents);
  speed_panel_.SetEnabled(FindBtn, documents);
  SetAutoSaveRunning(documents);
  TMDIChild* active = ActiveChild();
  // Only a document read from a file can be read again in another encoding.
  menu().Item(kReopenItem).SetEnabled(active && !active->is_untitled());
  ShowCoding(active);
  UpdateForwardSearch();
  if (TMDIChild* doc = active) {
    status_bar_.SetText(kSizePanel, std::to_string(doc->TextLength()) + "ﾊﾞｲﾄ");
    ShowCommandPalette(CommandInputVisible);
    menu().Item(kComInputItem).SetEnabled(true);
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
    menu().Item(kComInputItem).SetEnabled(false);
    for (ToolButton b : {CutBtn, CopyBtn, PasteBtn}) speed_panel_.SetEnabled(b, false);
    MarkUnmodified();
    speed_panel_.SetEnabled(UndoBtn, false);
    status_bar_.SetText(kCaretPanel, "");
    status_bar_.SetText(kSizePanel, "");
  }
}

void TMainForm::DocumentChanged(TMDIChild& doc) {
  if (ActiveChild() != &doc) return;
  MarkModified();
  if (!TeXRunning()) status_bar_.SetText(kRunPanel, "");  // what a run said is past
  speed_panel_.SetEnabled(UndoBtn, SendMessageA(doc.Memo, EM_CANUNDO, 0, 0) != 0);
  status_bar_.SetText(kSizePanel, std::to_string(doc.TextLength()) + "ﾊﾞｲﾄ");
}

void TMainForm::DocumentSelectionChanged(TMDIChild& doc) {
  if (ActiveChild() != &doc) return;
  UpdateCaretPosition();
  CHARRANGE sel{};
  SendMessageA(doc.Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  bool selected = sel.cpMax > sel.cpMin;
  speed_panel_.SetEnabled(CutBtn, selected);
  speed_panel_.SetEnabled(CopyBtn, selected);
}

void TMainForm::MarkModified() {
  status_bar_.SetText(kModifiedPanel, "変更");
  menu().Item(kFileSaveItem).SetEnabled(true);
  speed_panel_.SetEnabled(SaveBtn, true);
}

void TMainForm::MarkUnmodified() {
  status_bar_.SetText(kModifiedPanel, "");
  menu().Item(kFileSaveItem).SetEnabled(false);
  speed_panel_.SetEnabled(SaveBtn, false);
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

void TMainForm::EnableTeXCommands() { SetTeXCommandsEnabled(true); }

void TMainForm::DisableTeXCommands() { SetTeXCommandsEnabled(false); }

void TMainForm::SetTeXCommandsEnabled(bool on) {
  const std::pair<CommandId, ToolButton> pairs[] = {{kTeX1Item, TeX1Btn}, {kTeX2Item, TeX2Btn}, {kTeX3Item, TeX3Btn}};
  for (auto [item, button] : pairs) {
    menu().Item(item).SetEnabled(on);
    speed_panel_.SetEnabled(button, on);
  }
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
