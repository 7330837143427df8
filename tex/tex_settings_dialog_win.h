#pragma once
// TPagesDlg, the TeX settings dialog "TeXの設定": pages for the engine's directory
// variables, the TeX menu, the font mapping and the basic styles of wintex.ini. Each
// showing starts from the TeX configuration in memory; the TeX menu and the styles are
// edited as working lists, and a page reaches the file only through OK or Apply.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "tex/tex_config.h"
#include "tex/tex_settings_edits.h"
#include "win/file_dialogs_win.h"
#include "win/form_win.h"
#include "win/message_dialog_win.h"
#include "win/page_control_win.h"

namespace quillet {

class TPagesDlg : public Form {
 public:
  static constexpr int kPageCount = 5;

  bool Create();
  // What the dialog edits and tells through; kept for the program's life.
  void Prepare(ProfileStore& store, TeXConfiguration& config, Messages& messages, FileDialogs& file_dialogs);
  void EnsureContents() override;

  // Each time the dialog becomes active (the program hides its command palette).
  std::function<void()> on_activate;
  // After the TeX menu page was written (the program rebuilds its format items).
  std::function<void()> on_menu_written;
  // The engine kind shown on the format page: 0 small, 1 big.
  std::function<int()> engine_kind;
  // Whether file dialogs take the old style (the environment setting).
  std::function<bool()> old_style_dialogs;

  PageControl PageCtl;
  HWND OKBtn = nullptr, CancelBtn = nullptr, ApplyBtn = nullptr, HelpBtn = nullptr;
  // A page's controls are made when it is first shown (null until then).
  // Page 0 "環境変数"
  HWND TEXINPUTS = nullptr, TEXFONTS = nullptr, TEXFORMATS = nullptr, TEXPOOL = nullptr;
  // Page 1 "ﾌｫｰﾏｯﾄﾌｧｲﾙの作成", disabled
  HWND LoadFile = nullptr, fmtPath = nullptr, Button1 = nullptr, DelLog = nullptr, makeBtn = nullptr;
  std::array<HWND, 2> RadioGroup{};
  // Page 2 "TeXﾒﾆｭｰの編集" and its edit panel
  HWND MenuList = nullptr, Button2 = nullptr, Button3 = nullptr, Button4 = nullptr;
  HWND GroupBox1 = nullptr, MenuName = nullptr, fmtFile = nullptr, Button9 = nullptr;
  // Page 3 "ﾌｫﾝﾄのﾏｯﾋﾟﾝｸﾞ"
  HWND TFMs = nullptr, fontname = nullptr;
  // Page 4 "基本ｽﾀｲﾙの登録" and its edit panel
  HWND DefinedSty = nullptr, Button5 = nullptr, Button6 = nullptr, Button7 = nullptr;
  HWND GroupBox2 = nullptr, BasicStyle = nullptr, StyleFile = nullptr, sizeopt = nullptr, stsizeopt = nullptr,
       styleopt = nullptr, Button8 = nullptr;

  bool dirty(int page) const { return dirty_[static_cast<std::size_t>(page)]; }
  const WorkingList& menu_entries() const { return menu_; }
  const WorkingList& styles() const { return styles_; }

 protected:
  void BuildContents() override;
  int DefaultButtonId() const override { return IDOK; }
  void FormActivate() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // An edit panel with the controls it lies over.
  struct Panel {
    TabPage window;
    HWND frame = nullptr;
    std::vector<HWND> covered;
    PanelMode mode = PanelMode::Add;
    bool open = false;  // shown on its page, whether or not the page is
  };

  void CreatePage0(HWND page);
  void CreatePage1(HWND page);
  void CreatePage2(HWND page);
  void CreatePage3(HWND page);
  void CreatePage4(HWND page);
  void CreateButtonRow();
  HWND CreatePanel(Panel& panel, HWND page);
  void EnsurePage(int page);
  void FillPage(int page);
  void OnCommand(int id, int code, HWND control);

  void SetDirty(int page);
  void UpdateApply();
  void PageChanged();
  void CommitPanelOf(int page);
  void OKClick();
  void ApplyClick();
  bool WritePage(int page);
  bool WriteEnvironPage();
  bool WriteMenuPage();
  bool WriteFontPage();
  bool WriteStylePage();

  void ShowPanel(Panel& panel, PanelMode mode);
  void HidePanel(Panel& panel);
  void MenuListClick();
  void MenuEdit(PanelMode mode);
  void MenuDelete();
  void CommitMenuPanel();
  void TFMsClick();
  void StyleListClick();
  void StyleEdit(PanelMode mode);
  void StyleDelete();
  void CommitStylePanel();
  void StyleFileDblClick();
  void FormatPathClick();
  // Puts the working list's names into its list box and selects one (-1: none).
  void ShowNames(HWND list, const WorkingList& entries, int selection);

  ProfileStore* store_ = nullptr;
  TeXConfiguration* config_ = nullptr;
  Messages* messages_ = nullptr;
  FileDialogs* file_dialogs_ = nullptr;
  std::array<bool, kPageCount> dirty_{};
  std::array<bool, kPageCount> built_{};
  int shown_page_ = 0;
  bool filling_ = false;  // controls set by the dialog itself, not typed
  bool focus_ok_ = false;
  WorkingList menu_{2};
  WorkingList styles_{4};
  Panel menu_panel_, style_panel_;
  HWND style_fields_[4] = {};
  int last_field_ = 0;  // of style_fields_, the one that last had the focus
};

}  // namespace quillet
