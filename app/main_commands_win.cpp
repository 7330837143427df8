// The commands of the main window: dispatch, view, window, dialog, help and editing.
#include <windows.h>
#include <richedit.h>

#include <optional>
#include <utility>

#include "aids/command_palette_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "app/title_form_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "prefs/env_dialog_win.h"
#include "tex/error_window_win.h"
#include "tex/tex_run_win.h"
#include "tex/tex_settings_dialog_win.h"

namespace quillet {

void TMainForm::OnCommand(UINT id) {
  // A hidden or disabled item never runs, whatever key or button asked for it.
  if (MenuNode* item = menu_->FindById(id); item && !item->IsLive()) return;
  RunCommand(id);
}

void TMainForm::RunCommand(UINT id) {
  switch (id) {
    case kFileNewItem: FileNewItemClick(); break;
    case kFileOpenItem: FileOpenItemClick(); break;
    case kFileInsertItem: FileInsertItemClick(); break;
    case kReopenSjisItem: ReopenItemClick(Encoding::kShiftJis); break;
    case kReopenUtf8Item: ReopenItemClick(Encoding::kUtf8); break;
    case kReopenEucItem: ReopenItemClick(Encoding::kEucJp); break;
    case kReopenJisItem: ReopenItemClick(Encoding::kIso2022Jp); break;
    case kFilePrintItem: FilePrintItemClick(); break;
    case kFileSaveItem:
      if (TMDIChild* doc = ActiveChild()) FileSaveItemClick(*doc);
      break;
    case kFileSaveAsItem:
      if (TMDIChild* doc = ActiveChild()) FileSaveAsItemClick(*doc);
      break;
    case kFileExitItem: FileExitItemClick(); break;
    case kFileName1: case kFileName2: case kFileName3: case kFileName4: {
      std::string name = recent_files.entry(static_cast<int>(id - kFileName1 + 1));
      OpenDocument(name);
      break;
    }
    case kUndoItem: UndoItemClick(); break;
    case kUndoAllItem: UndoAllItemClick(); break;
    case kCutItem: CutItemClick(); break;
    case kCopyItem: CopyItemClick(); break;
    case kPasteItem: PasteItemClick(); break;
    case kDeleteItem: DeleteItemClick(); break;
    case kSelectAllItem: SelectAllItemClick(); break;
    case kFindStrItem: FindStrItemClick(); break;
    case kReplaceStrItem: ReplaceStrItemClick(); break;
    case kNextItem: NextItemClick(); break;
    case kJumptoItem: JumptoItemClick(); break;
    case kJumpTopItem: JumpTopItemClick(); break;
    case kJumpEndItem: JumpEndItemClick(); break;
    case kFindSecItem: FindSecItemClick(); break;
    case kJumpNextItem: JumpNextItemClick(); break;
    case kMacroItem: MacroItemClick(); break;
    case kComInputItem: ComInputItemClick(); break;
    case kErrMesItem: ErrMesItemClick(); break;
    case kToolBarItem: ToolBarItemClick(); break;
    case kStatusBarItem: StatusBarItemClick(); break;
    case kEnvItem: EnvItemClick(); break;
    case kPPropertyItem: PPropertyItemClick(); break;
    case kSetItem: SetItemClick(); break;
    case kWindowCascadeItem: WindowCascadeItemClick(); break;
    case kWindowTileItem: WindowTileItemClick(); break;
    case kWindowArrangeItem: WindowArrangeItemClick(); break;
    case kWindowMinimizeItem: WindowMinimizeItemClick(); break;
    case kWindowCloseAllItem: WindowCloseAllItemClick(); break;
    case kTeX1Item: TeX1ItemClick(); break;
    case kTeX2Item: TeX2ItemClick(); break;
    case kTeX3Item: TeX3ItemClick(); break;
    case kStopTeXItem: StopTeXItemClick(); break;
    case kForwardSearchItem: ForwardSearchItemClick(); break;
    case kDigitalItem: DigitalItemClick(); break;
    case kSearchforHelpOnItem: SearchforHelpOnItemClick(); break;
    case kHelpAboutItem: HelpAboutItemClick(); break;
    default: break;
  }
}

void TMainForm::FileExitItemClick() { SendMessageA(hwnd(), WM_CLOSE, 0, 0); }

void TMainForm::ComInputItemClick() {
  CommandInputVisible = !CommandInputVisible;
  menu().Item(kComInputItem).SetChecked(CommandInputVisible);
  ShowCommandPalette(CommandInputVisible);
}

void TMainForm::ErrMesItemClick() {
  MenuNode& item = menu().Item(kErrMesItem);
  bool show = !item.checked();
  item.SetChecked(show);
  if (show) {
    ShowErrorWindow();
  } else {
    ShowWindow(app_.ErrorWin().hwnd(), SW_HIDE);
  }
}

void TMainForm::ToolBarItemClick() { SetToolBarVisible(!menu().Item(kToolBarItem).checked()); }

void TMainForm::StatusBarItemClick() { SetStatusBarVisible(!menu().Item(kStatusBarItem).checked()); }

void TMainForm::EnvItemClick() { EditEnvironment(std::nullopt); }

void TMainForm::PPropertyItemClick() { EditEnvironment(1); }

// The dialog edits a copy and hands back each page the user confirms
// (ApplyEnvironmentPage); Cancel leaves the settings in force as they are.
void TMainForm::EditEnvironment(std::optional<int> page) {
  TPagesDlg1& dialog = app_.PagesDlg1();
  CenterOnScreen(dialog.hwnd());
  dialog.Edit(hwnd(), app_.env_settings(), page);
}

void TMainForm::SetItemClick() {
  TPagesDlg& dialog = app_.PagesDlg();
  CenterOnScreen(dialog.hwnd());
  dialog.ShowModal(hwnd());
}

void TMainForm::WindowCascadeItemClick() { SendMessageA(mdi_client_, WM_MDICASCADE, 0, 0); }

void TMainForm::WindowTileItemClick() { SendMessageA(mdi_client_, WM_MDITILE, MDITILE_HORIZONTAL, 0); }

void TMainForm::WindowArrangeItemClick() { SendMessageA(mdi_client_, WM_MDIICONARRANGE, 0, 0); }

void TMainForm::WindowMinimizeItemClick() {
  std::vector<TMDIChild*> list = Children();
  for (auto it = list.rbegin(); it != list.rend(); ++it) ShowWindow((*it)->hwnd(), SW_MINIMIZE);
}

void TMainForm::WindowCloseAllItemClick() {
  std::vector<TMDIChild*> list = Children();
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    if ((*it)->FormCloseQuery()) (*it)->FormClose();
  }
}

void TMainForm::SearchforHelpOnItemClick() { app_.Help(hwnd(), HELP_FINDER, 0); }

void TMainForm::HelpAboutItemClick() { app_.TitleForm().ShowAbout(hwnd(), app_.settings_file().DiskPath()); }

// Editing commands: single requests to the active document's editor.

void TMainForm::Edit1Click() {
  menu().Item(kUndoAllItem).SetEnabled(false);
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  CHARRANGE sel{};
  SendMessageA(doc->Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  bool selected = sel.cpMax > sel.cpMin;
  menu().Item(kPasteItem).SetEnabled(IsClipboardFormatAvailable(CF_TEXT) != FALSE);
  for (UINT id : {kCutItem, kCopyItem, kDeleteItem}) menu().Item(id).SetEnabled(selected);
  menu().Item(kSelectAllItem).SetEnabled(true);
  menu().Item(kUndoItem).SetEnabled(SendMessageA(doc->Memo, EM_CANUNDO, 0, 0) != 0);
  menu().Item(kUndoAllItem).SetEnabled(doc->modified());
}

void TMainForm::UndoItemClick() {
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  SendMessageA(doc->Memo, EM_UNDO, 0, 0);
  SendMessageA(doc->Memo, EM_EMPTYUNDOBUFFER, 0, 0);
  speed_panel_.SetEnabled(UndoBtn, false);
}

void TMainForm::CutItemClick() {
  if (TMDIChild* doc = ActiveChild()) SendMessageA(doc->Memo, WM_CUT, 0, 0);
}

void TMainForm::CopyItemClick() {
  TMDIChild* doc = ActiveChild();
  if (!doc) return;
  SendMessageA(doc->Memo, WM_COPY, 0, 0);
  CHARRANGE sel{};
  SendMessageA(doc->Memo, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
  SendMessageA(doc->Memo, EM_SETSEL, static_cast<WPARAM>(sel.cpMin), sel.cpMin);
}

void TMainForm::PasteItemClick() {
  if (TMDIChild* doc = ActiveChild()) SendMessageA(doc->Memo, WM_PASTE, 0, 0);
}

void TMainForm::DeleteItemClick() {
  if (TMDIChild* doc = ActiveChild()) SendMessageA(doc->Memo, WM_CLEAR, 0, 0);
}

void TMainForm::SelectAllItemClick() {
  if (TMDIChild* doc = ActiveChild()) SendMessageA(doc->Memo, EM_SETSEL, 0, -1);
}

}  // namespace quillet
