// The commands of the main window: dispatch, and the view, window, dialog and help commands.
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
  const CommandRow* row = FindCommand(id);
  if (!row || !row->run) return;
  // A disabled command never runs, whatever key or button asked for it; nor does a
  // hidden item (a recent-file slot without a file) or one in a disabled menu.
  if (!Allows(row->rule, RefreshCommands())) return;
  if (MenuNode* item = menu_->FindById(id); item && !item->IsLive()) return;
  row->run(*this, id);
  RefreshCommands();  // what the command changed shows at once
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

}  // namespace quillet
