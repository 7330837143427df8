#pragma once
// TPagesDlg1, the environment settings dialog "環境設定". Its controls are the program's
// live store of its own settings for the whole run: the other windows read a setting
// from its control when they need it.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "win/form_win.h"
#include "win/page_control_win.h"

namespace quillet {

inline constexpr const char* kTeXKinds[] = {"ｲﾝﾌﾟﾚｽ  WpvTeX", "ｲﾝﾌﾟﾚｽ  Big WpvTeX"};
inline constexpr const char* kDviKinds[] = {
    "ｲﾝﾌﾟﾚｽ  WinDvi 1.0 (16bit版)", "ｲﾝﾌﾟﾚｽ  WinDvi 1.0 (32bit版)", "ｲﾝﾌﾟﾚｽ  WinDviPro",
    "Norvik  WinDVI (ver 0.2)",     "Norvik  WinDVI (ver 0.3以降)"};

class TPagesDlg1 : public Form {
 public:
  bool Create();
  // Builds what only the shown dialog needs (labels, frames, buttons, lists of choices).
  void EnsureContents() override;

  // Page 0 "動作一般"
  HWND BackUP = nullptr, AutoSave = nullptr, AutoSaveTime = nullptr, AutoSaveTimeSpin = nullptr,
       ShowLogFile = nullptr, EditorPath = nullptr, Button2 = nullptr, Win31Dialog = nullptr,
       UseDocExp = nullptr, MacroPath = nullptr;
  // Page 1 "ｴﾃﾞｨﾀ表示": combo boxes are slow to make, so Font and Size exist from the
  // first showing; until then their texts are held by the dialog.
  HWND Font = nullptr, Size = nullptr, SampleText = nullptr, Coloring = nullptr, GrammerList = nullptr,
       Attrib = nullptr, ColorGrid1 = nullptr;
  // Page 2 "TeXの選択" and page 3 "Dviの選択"
  HWND TeXList = nullptr, TeXPath = nullptr, Button3 = nullptr;
  HWND DviList = nullptr, DviPath = nullptr, Button1 = nullptr;
  // Button row
  HWND OKBtn = nullptr, CancelBtn = nullptr, ApplyBtn = nullptr, HelpBtn = nullptr;
  PageControl PageCtl;

  // The program path of every engine and viewer kind, indexed like TeXList and DviList.
  std::vector<std::string> TeXPaths, DviPaths;

  // Typed access to the settings the controls hold.
  bool backup() const;
  bool auto_save() const;
  int auto_save_minutes() const;            // 1..1440
  void set_auto_save_minutes(int minutes);  // clamped into 1..1440
  bool show_log_file() const;
  std::string editor_path() const;
  bool win31_dialog() const;
  bool use_doc_exp() const;
  std::string macro_path() const;
  std::string font_name() const;
  std::string font_size_text() const;
  int font_size() const;                    // the number in Size's text, 10 when none
  void set_font(const std::string& name, const std::string& size);
  int tex_index() const;                    // -1 when no entry is selected
  int dvi_index() const;
  void SelectTeX(int index);                // an index outside the list selects nothing
  void SelectDvi(int index);

 protected:
  int DefaultButtonId() const override { return IDOK; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void CreateSettingControls();
  void CreatePage0(HWND page);
  void CreatePage1(HWND page);
  void CreatePage2(HWND page);
  void CreatePage3(HWND page);
  void CreateButtonRow();
  void FillFontList();
  void OnCommand(int id, int code, HWND control);
  void PaintColorGrid(const DRAWITEMSTRUCT& item);
  bool contents_built_ = false;
  std::string font_name_, font_size_text_;
};

}  // namespace quillet
