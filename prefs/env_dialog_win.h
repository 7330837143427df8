#pragma once
// TPagesDlg1, the environment settings dialog "環境設定": it shows the program's own
// settings on four pages and hands each page the user confirms (OK for every edited
// page, Apply for the page shown) to the program, which writes and applies it. What was
// not handed over never takes effect: the next showing starts from the settings in force.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "prefs/env_settings.h"
#include "win/coding_lists_win.h"
#include "win/file_dialogs_win.h"
#include "win/form_win.h"
#include "win/handles_win.h"
#include "win/page_control_win.h"

namespace quillet {

class TPagesDlg1 : public Form {
 public:
  // Writes one page of the edited settings and puts it in force; false when the write
  // was refused (the program has said why).
  using PageApplier = std::function<bool(int page, const EnvSettings& edited)>;

  bool Create();
  // Once, before the first showing: the browse dialog and where confirmed pages go.
  void Prepare(FileDialogs& dialogs, PageApplier apply_page);
  // Shows the settings in force modally, on the given page or the one last shown.
  void Edit(HWND owner, const EnvSettings& in_force, std::optional<int> page);

  // Takes the settings in force as the ones Cancel keeps and shows them.
  void SaveEnvironmentSnapshot(const EnvSettings& in_force);
  // Makes the page's controls (filled with the settings in force) if not yet made.
  void EnsurePage(int page);
  // The settings as the controls hold them now.
  EnvSettings EditedSettings() const;
  bool PageChanged(int page) const { return page_changed_[static_cast<std::size_t>(page)]; }

  // Page 0 "動作一般"
  HWND BackUP = nullptr, AutoSave = nullptr, AutoSaveTime = nullptr, AutoSaveTimeSpin = nullptr,
       ShowLogFile = nullptr, EditorPath = nullptr, Button2 = nullptr, Win31Dialog = nullptr,
       UseDocExp = nullptr, MacroPath = nullptr;
  // Page 1 "ｴﾃﾞｨﾀ表示"
  HWND Font = nullptr, Size = nullptr, SampleText = nullptr, Coloring = nullptr, GrammerList = nullptr,
       Attrib = nullptr, ColorGrid1 = nullptr, NewEncoding = nullptr, NewLineEnd = nullptr;
  HWND ShowSpaces = nullptr, ShowTabs = nullptr, ShowLineEnds = nullptr;  // the editor's marks
  // Page 2 "TeXの選択" and page 3 "Dviの選択"
  HWND TeXList = nullptr, TeXPath = nullptr, Button3 = nullptr;
  HWND DviList = nullptr, DviPath = nullptr, Button1 = nullptr;
  // Button row
  HWND OKBtn = nullptr, CancelBtn = nullptr, ApplyBtn = nullptr, HelpBtn = nullptr;
  PageControl PageCtl;

 protected:
  void BuildContents() override;
  int DefaultButtonId() const override { return IDOK; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreatePage0(HWND page);
  void CreatePage1(HWND page);
  void CreatePage2(HWND page);
  void CreatePage3(HWND page);
  void CreateButtonRow();
  void FillFontList();
  CodingLists NewCodingLists() const { return {NewEncoding, NewLineEnd}; }
  void EnableDependents();
  void OnCommand(int id, int code, HWND control);
  void PaintColorGrid(const DRAWITEMSTRUCT& item);

  void FillPage(int page);
  void FormActivate();
  void PageCtlChange();
  void OKBtnClick();
  void ApplyBtnClick();
  bool ApplyEnvironmentPage(int page);
  void MarkChanged(int page);
  void ShowPreview();
  void AutoSaveTimeExit();
  // Keeps the path typed for the kind shown and shows the selected kind's path.
  void SwitchKind(HWND list, HWND path, std::vector<std::string>& paths, int& shown, int page);
  void Browse(HWND path, const char* title);
  std::string ComboText(HWND combo, int code) const;

  FileDialogs* dialogs_ = nullptr;
  PageApplier apply_page_;
  // The settings in force when shown, with each page applied since: what Cancel keeps.
  EnvSettings in_force_;
  std::array<bool, kEnvPageCount> page_changed_{}, page_built_{};
  // The program path of every engine and viewer kind as edited, and the kind whose path
  // the path box holds.
  std::vector<std::string> tex_paths_ = in_force_.tex.paths, dvi_paths_ = in_force_.dvi.paths;
  int tex_shown_ = 0, dvi_shown_ = 0;
  // Set while the controls are being filled, so filling is not taken for editing.
  bool filling_ = false;
  FontHandle preview_font_;
};

}  // namespace quillet
