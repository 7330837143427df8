#pragma once
// TPagesDlg1, the environment settings dialog "環境設定": it shows the program's own
// settings on four pages and gives back what the user edited.
#include <windows.h>

#include <string>

#include "prefs/env_settings.h"
#include "win/form_win.h"
#include "win/page_control_win.h"

namespace quillet {

class TPagesDlg1 : public Form {
 public:
  bool Create();

  // Puts the settings into the controls (building them first when needed).
  void ShowSettings(const EnvSettings& settings);
  // The settings as the controls hold them now.
  EnvSettings EditedSettings() const;

  // Page 0 "動作一般"
  HWND BackUP = nullptr, AutoSave = nullptr, AutoSaveTime = nullptr, AutoSaveTimeSpin = nullptr,
       ShowLogFile = nullptr, EditorPath = nullptr, Button2 = nullptr, Win31Dialog = nullptr,
       UseDocExp = nullptr, MacroPath = nullptr;
  // Page 1 "ｴﾃﾞｨﾀ表示"
  HWND Font = nullptr, Size = nullptr, SampleText = nullptr, Coloring = nullptr, GrammerList = nullptr,
       Attrib = nullptr, ColorGrid1 = nullptr;
  // Page 2 "TeXの選択" and page 3 "Dviの選択"
  HWND TeXList = nullptr, TeXPath = nullptr, Button3 = nullptr;
  HWND DviList = nullptr, DviPath = nullptr, Button1 = nullptr;
  // Button row
  HWND OKBtn = nullptr, CancelBtn = nullptr, ApplyBtn = nullptr, HelpBtn = nullptr;
  PageControl PageCtl;

 protected:
  // The pages' controls are made when the dialog is first shown.
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
  void EnableDependents();
  void OnCommand(int id, int code, HWND control);
  void PaintColorGrid(const DRAWITEMSTRUCT& item);
  // What ShowSettings put in: the values no control edits yet come back from here.
  EnvSettings shown_;
};

}  // namespace quillet
