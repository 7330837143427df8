#include "tex/tex_settings_dialog_win.h"

#include <windows.h>
#include <commctrl.h>

#include "core/sjis.h"
#include "tex/tex_config_win.h"
#include "win/controls_win.h"
#include "win/failure_cause_win.h"

namespace quillet {

namespace {

enum : int {
  kPageCtl = 400, kApplyBtn, kHelpBtn,
  kTEXINPUTS, kTEXFONTS, kTEXFORMATS, kTEXPOOL,
  kLoadFile, kFmtPath, kButton1, kRadioSmall, kRadioBig, kDelLog, kMakeBtn,
  kMenuList, kButton2, kButton3, kButton4, kMenuName, kFmtFile, kButton9,
  kTFMs, kFontname,
  kDefinedSty, kButton5, kButton6, kButton7, kBasicStyle, kStyleFile, kSizeopt, kStsizeopt, kStyleopt, kButton8,
};

constexpr int kEnvironPage = 0, kMenuPage = 2, kFontPage = 3, kStylePage = 4;

// -1 for no selection, or for a list on a page not made yet.
int Selection(HWND list) { return list ? static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) : -1; }

std::string ListText(HWND list, int index) {
  LRESULT n = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n < 0) return {};
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  n = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return text;
}

void AddStrings(HWND control, UINT add_message, const std::vector<std::string>& items) {
  UINT init = add_message == LB_ADDSTRING ? LB_INITSTORAGE : CB_INITSTORAGE;
  SendMessageA(control, init, items.size(), static_cast<LPARAM>(items.size() * 16));
  for (const auto& item : items) SendMessageA(control, add_message, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

// A combo box or list change the user made: a typed text or a choice from the list.
bool IsComboEdit(int code) { return code == CBN_EDITCHANGE || code == CBN_SELCHANGE; }

}  // namespace

bool TPagesDlg::Create() {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  return CreateForm("TPagesDlg", "TeXの設定", 421, 295, style, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP);
}

void TPagesDlg::Prepare(ProfileStore& store, TeXConfiguration& config, Messages& messages, FileDialogs& file_dialogs) {
  store_ = &store;
  config_ = &config;
  messages_ = &messages;
  file_dialogs_ = &file_dialogs;
}

// The dialog's frame is made when it first shows, and each page when it is first shown,
// so opening the dialog pays only for the page on show; pages are filled from the TeX
// configuration as they are made and at every showing.
void TPagesDlg::BuildContents() {
  if (!PageCtl.Create(hwnd(), font(), 8, 8, 405, 246, kPageCtl,
                      {"環境変数", "ﾌｫｰﾏｯﾄﾌｧｲﾙの作成", "TeXﾒﾆｭｰの編集", "ﾌｫﾝﾄのﾏｯﾋﾟﾝｸﾞ", "基本ｽﾀｲﾙの登録"},
                      TCS_MULTILINE)) {
    return;
  }
  CreateButtonRow();
}

void TPagesDlg::EnsurePage(int page) {
  if (page < 0 || page >= kPageCount || built_[static_cast<std::size_t>(page)] || !PageCtl.hwnd()) return;
  built_[static_cast<std::size_t>(page)] = true;
  HWND p = PageCtl.page(page);
  switch (page) {
    case 0: CreatePage0(p); break;
    case 1: CreatePage1(p); break;
    case kMenuPage: CreatePage2(p); break;
    case kFontPage: CreatePage3(p); break;
    default: CreatePage4(p); break;
  }
  if (config_) FillPage(page);
}

// Labels are made just before the control they name, so their access keys lead to it.
void TPagesDlg::CreatePage0(HWND p) {
  HFONT f = font();
  struct Row { const char* label; HWND* control; int id; DWORD help; } rows[] = {
      {"TEX&INPUTS:", &TEXINPUTS, kTEXINPUTS, 79},
      {"TEX&FONTS:", &TEXFONTS, kTEXFONTS, 80},
      {"TEXFO&RMATS:", &TEXFORMATS, kTEXFORMATS, 81},
      {"TEX&POOL:", &TEXPOOL, kTEXPOOL, 82},
  };
  int y = 16;
  for (const auto& row : rows) {
    CreateLabel(p, f, row.label, 12, y + 3, 92, 16);
    *row.control = WithHelp(CreateEditBox(p, f, 106, y, 275, 21, row.id), row.help);
    y += 38;
  }
}

// Format files are made outside the program: the page is shown, and nothing on it works.
void TPagesDlg::CreatePage1(HWND p) {
  HFONT f = font();
  std::vector<HWND> all;
  all.push_back(CreateLabel(p, f, "ﾛｰﾄﾞするﾌｧｲﾙ(&L):", 12, 10, 200, 16));
  all.push_back(LoadFile = WithHelp(CreateComboBox(p, f, 12, 28, 200, 200, kLoadFile, CBS_DROPDOWNLIST), 83));
  all.push_back(CreateLabel(p, f, "ﾌｫｰﾏｯﾄﾌｧｲﾙのﾊﾟｽ名(&F):", 12, 62, 200, 16));
  all.push_back(fmtPath = WithHelp(CreateEditBox(p, f, 12, 80, 280, 21, kFmtPath), 84));
  all.push_back(Button1 = WithHelp(CreateButton(p, f, "参照(&B)...", 300, 79, 81, 23, kButton1), 85));
  all.push_back(WithHelp(CreateGroupBox(p, f, "TeXのｻｲｽﾞ(&T)", 12, 110, 280, 44), 86));
  const char* sizes[] = {"small TeX", "BIG TeX"};
  for (int i = 0; i < 2; ++i) {
    DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
    RadioGroup[static_cast<std::size_t>(i)] = WithHelp(
        CreateControl(p, {.class_name = "BUTTON", .text = sizes[i], .x = 24 + i * 134, .y = 128, .width = 120,
                          .height = 18, .style = style, .id = kRadioSmall + i}, f),
        86);
    all.push_back(RadioGroup[static_cast<std::size_t>(i)]);
  }
  all.push_back(DelLog = WithHelp(CreateCheckBox(p, f, "ﾛｸﾞﾌｧｲﾙを削除する(&D)", 12, 164, 200, 20, kDelLog), 87));
  SetChecked(DelLog, true);
  all.push_back(makeBtn = WithHelp(CreateButton(p, f, "作成(&C)", 300, 160, 81, 25, kMakeBtn), 88));
  if (config_) AddStrings(LoadFile, CB_ADDSTRING, config_->tex_files);
  for (HWND h : all) EnableWindow(h, FALSE);
  EnableWindow(p, FALSE);
}

void TPagesDlg::CreatePage2(HWND p) {
  HFONT f = font();
  HWND label = CreateLabel(p, f, "ﾒﾆｭｰ項目(&M):", 12, 8, 200, 16);
  MenuList = WithHelp(CreateListBox(p, f, 12, 26, 280, 160, kMenuList), 89);
  Button2 = WithHelp(CreateButton(p, f, "追加", 304, 26, 77, 25, kButton2), 90);
  Button3 = WithHelp(CreateButton(p, f, "変更", 304, 58, 77, 25, kButton3), 91);
  Button4 = WithHelp(CreateButton(p, f, "削除", 304, 90, 77, 25, kButton4), 92);
  menu_panel_.covered = {label, MenuList, Button2, Button3, Button4};
  HWND w = CreatePanel(menu_panel_, p);
  GroupBox1 = menu_panel_.frame;
  CreateLabel(w, f, "ﾒﾆｭｰ文字列(&S)", 16, 26, 200, 16);
  MenuName = WithHelp(CreateEditBox(w, f, 16, 44, 260, 21, kMenuName), 93);
  CreateLabel(w, f, "ﾌｫｰﾏｯﾄﾌｧｲﾙ(&F)", 16, 78, 200, 16);
  fmtFile = WithHelp(CreateComboBox(w, f, 16, 96, 260, 200, kFmtFile), 94);
  CreateLabel(w, f, "入力したら[更新(A)]を押して下さい。", 16, 158, 260, 16);
  Button9 = WithHelp(CreateButton(w, f, "戻る", 288, 154, 77, 25, kButton9), 95);
  if (config_) AddStrings(fmtFile, CB_ADDSTRING, config_->fmt_files);
}

void TPagesDlg::CreatePage3(HWND p) {
  HFONT f = font();
  CreateLabel(p, f, "TFM名(&T):", 12, 8, 170, 16);
  TFMs = WithHelp(CreateListBox(p, f, 12, 26, 170, 160, kTFMs), 96);
  CreateLabel(p, f, "表示に使われるﾌｫﾝﾄ名(&D):", 196, 8, 185, 16);
  fontname = WithHelp(CreateComboBox(p, f, 196, 26, 185, 200, kFontname), 97);
  if (config_) AddStrings(TFMs, LB_ADDSTRING, config_->tfm_files);
  AddStrings(fontname, CB_ADDSTRING, DisplayFontList());
}

void TPagesDlg::CreatePage4(HWND p) {
  HFONT f = font();
  HWND label = CreateLabel(p, f, "登録されている基本ｽﾀｲﾙ:", 12, 8, 200, 16);
  DefinedSty = WithHelp(CreateListBox(p, f, 12, 26, 280, 160, kDefinedSty), 98);
  Button5 = WithHelp(CreateButton(p, f, "追加", 304, 26, 77, 25, kButton5), 99);
  Button6 = WithHelp(CreateButton(p, f, "変更", 304, 58, 77, 25, kButton6), 100);
  Button7 = WithHelp(CreateButton(p, f, "削除", 304, 90, 77, 25, kButton7), 101);
  style_panel_.covered = {label, DefinedSty, Button5, Button6, Button7};
  HWND w = CreatePanel(style_panel_, p);
  GroupBox2 = style_panel_.frame;
  CreateLabel(w, f, "基本ｽﾀｲﾙﾌｧｲﾙ(&B)", 16, 22, 190, 16);
  BasicStyle = WithHelp(CreateEditBox(w, f, 16, 38, 190, 21, kBasicStyle), 102);
  CreateLabel(w, f, "ｽﾀｲﾙ一覧", 220, 22, 145, 16);
  StyleFile = WithHelp(CreateListBox(w, f, 220, 38, 145, 92, kStyleFile, false), 103);
  CreateLabel(w, f, "入力したら[更新(&A)]を押して下さい。", 220, 134, 145, 28);
  CreateLabel(w, f, "ｻｲｽﾞｵﾌﾟｼｮﾝ(&S)", 16, 64, 190, 16);
  sizeopt = WithHelp(CreateEditBox(w, f, 16, 80, 190, 21, kSizeopt), 104);
  CreateLabel(w, f, "文字ｻｲｽﾞｵﾌﾟｼｮﾝ(&C)", 16, 106, 190, 16);
  stsizeopt = WithHelp(CreateEditBox(w, f, 16, 122, 190, 21, kStsizeopt), 105);
  CreateLabel(w, f, "ｵﾌﾟｼｮﾝ(&O)", 16, 148, 190, 16);
  styleopt = WithHelp(CreateEditBox(w, f, 16, 164, 190, 21, kStyleopt), 106);
  Button8 = WithHelp(CreateButton(w, f, "戻る", 288, 164, 77, 25, kButton8), 107);
  style_fields_[0] = BasicStyle;
  style_fields_[1] = sizeopt;
  style_fields_[2] = stsizeopt;
  style_fields_[3] = styleopt;
  if (config_) AddStrings(StyleFile, LB_ADDSTRING, config_->sty_files);
}

// The panel is a window of its own over the page, holding a frame whose caption tells
// what "戻る" will do; the controls it covers are hidden meanwhile, so Tab cannot reach
// them.
HWND TPagesDlg::CreatePanel(Panel& panel, HWND page) {
  RECT area;
  GetClientRect(page, &area);
  InflateRect(&area, -4, -2);
  panel.window.Create(page, area);
  HWND w = panel.window.hwnd();
  int width = area.right - area.left, height = area.bottom - area.top;
  panel.frame = CreateGroupBox(w, font(), "追加", 0, 0, width, height);
  return w;
}

void TPagesDlg::CreateButtonRow() {
  SettingsButtons row = CreateSettingsButtons(hwnd(), font(), 81, 262, kApplyBtn, kHelpBtn);
  OKBtn = row.ok;
  CancelBtn = row.cancel;
  ApplyBtn = row.apply;
  HelpBtn = row.help;
}

// Every showing starts from what is in memory: edits that were not written are gone.
void TPagesDlg::EnsureContents() {
  if (!config_ || !PageCtl.hwnd()) return;
  const TeXConfiguration& c = *config_;
  menu_ = WorkingList::FromColumns({&c.menu_strings, &c.format_names});
  styles_ = WorkingList::FromColumns({&c.style_names, &c.size_options, &c.ptsize_options, &c.style_options});
  last_field_ = 0;
  dirty_ = {};
  shown_page_ = PageCtl.active();
  for (int page = 0; page < kPageCount; ++page) {
    if (built_[static_cast<std::size_t>(page)]) FillPage(page);
  }
  EnsurePage(shown_page_);
  UpdateApply();
  focus_ok_ = true;
}

void TPagesDlg::FillPage(int page) {
  filling_ = true;
  const TeXConfiguration& c = *config_;
  switch (page) {
    case kEnvironPage:
      SetControlText(TEXINPUTS, c.TEXINPUTS);
      SetControlText(TEXFONTS, c.TEXFONTS);
      SetControlText(TEXFORMATS, c.TEXFORMATS);
      SetControlText(TEXPOOL, c.TEXPOOL);
      break;
    case 1: {
      int kind = engine_kind ? engine_kind() : 0;
      for (int i = 0; i < 2; ++i) SetChecked(RadioGroup[static_cast<std::size_t>(i)], i == (kind == 1 ? 1 : 0));
      break;
    }
    case kMenuPage:
      HidePanel(menu_panel_);
      ShowNames(MenuList, menu_, -1);
      break;
    case kFontPage: {
      int tfm = Selection(TFMs);
      SetControlText(fontname, tfm >= 0 ? ReadFontMapping(*store_, ListText(TFMs, tfm)) : "");
      break;
    }
    default:
      HidePanel(style_panel_);
      ShowNames(DefinedSty, styles_, -1);
      break;
  }
  filling_ = false;
  MenuListClick();
  StyleListClick();
}

void TPagesDlg::FormActivate() {
  if (on_activate) on_activate();
  if (focus_ok_) SetFocus(OKBtn);
  focus_ok_ = false;
}

void TPagesDlg::ShowNames(HWND list, const WorkingList& entries, int selection) {
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  AddStrings(list, LB_ADDSTRING, entries.Column(0));
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void TPagesDlg::SetDirty(int page) {
  if (filling_) return;
  dirty_[static_cast<std::size_t>(page)] = true;
  UpdateApply();
}

void TPagesDlg::UpdateApply() {
  int page = PageCtl.active();
  EnableWindow(ApplyBtn, page >= 0 && page < kPageCount && dirty_[static_cast<std::size_t>(page)]);
}

// A panel left open on the page being left is committed as its "戻る" would, before the
// next page shows (the tab control asks before it changes; this covers a change made
// without asking).
void TPagesDlg::PageChanged() {
  CommitPanelOf(shown_page_);
  shown_page_ = PageCtl.active();
  EnsurePage(shown_page_);
  PageCtl.ShowSelected();
  UpdateApply();
}

void TPagesDlg::CommitPanelOf(int page) {
  if (page == kMenuPage) CommitMenuPanel();
  if (page == kStylePage) CommitStylePanel();
}

// Dirty pages in page order; a page that cannot be written keeps the dialog open with
// that page and every later one still to be written.
void TPagesDlg::OKClick() {
  for (int page = 0; page < kPageCount; ++page) {
    if (dirty_[static_cast<std::size_t>(page)] && !WritePage(page)) return;
  }
  EndModal(IDOK);
}

void TPagesDlg::ApplyClick() {
  int page = PageCtl.active();
  if (page >= 0 && page < kPageCount && dirty_[static_cast<std::size_t>(page)]) WritePage(page);
}

bool TPagesDlg::WritePage(int page) {
  bool written = true;
  switch (page) {
    case kEnvironPage: written = WriteEnvironPage(); break;
    case kMenuPage: written = WriteMenuPage(); break;
    case kFontPage: written = WriteFontPage(); break;
    case kStylePage: written = WriteStylePage(); break;
    default: break;
  }
  if (written) {
    dirty_[static_cast<std::size_t>(page)] = false;
    UpdateApply();
  }
  return written;
}

// The fields then show what was stored; a refused write leaves the configuration in
// memory as the file still has it.
bool TPagesDlg::WriteEnvironPage() {
  HWND fields[] = {TEXINPUTS, TEXFONTS, TEXFORMATS, TEXPOOL};
  std::string texts[4];
  for (int i = 0; i < 4; ++i) texts[i] = StorableText(ControlText(fields[i]));
  TeXConfiguration& c = *config_;
  std::string kept[] = {c.TEXINPUTS, c.TEXFONTS, c.TEXFORMATS, c.TEXPOOL};
  if (WriteEnviron(*store_, c, texts[0], texts[1], texts[2], texts[3]) != WriteOutcome::Ok) {
    c.TEXINPUTS = kept[0];
    c.TEXFONTS = kept[1];
    c.TEXFORMATS = kept[2];
    c.TEXPOOL = kept[3];
    messages_->Error(hwnd(), WithWriteCause(RefusedWriteMessage()));
    return false;
  }
  filling_ = true;
  for (int i = 0; i < 4; ++i) {
    if (ControlText(fields[i]) != texts[i]) SetControlText(fields[i], texts[i]);
  }
  filling_ = false;
  return true;
}

bool TPagesDlg::WriteMenuPage() {
  CommitMenuPanel();
  if (WriteTeXMenu(*store_, *config_, menu_.Column(0), menu_.Column(1)) != WriteOutcome::Ok) {
    messages_->Error(hwnd(), WithWriteCause(RefusedWriteMessage()));
    return false;
  }
  if (on_menu_written) on_menu_written();
  return true;
}

// Only a selected TFM has a mapping to write (the page is dirty only then).
bool TPagesDlg::WriteFontPage() {
  int tfm = Selection(TFMs);
  if (tfm < 0) return true;
  if (WriteFontMapping(*store_, ListText(TFMs, tfm), StorableText(ControlText(fontname))) != WriteOutcome::Ok) {
    messages_->Error(hwnd(), WithWriteCause(RefusedWriteMessage()));
    return false;
  }
  return true;
}

// A style list read from a file that names one of the file's own sections is not
// written until that style is renamed or deleted.
bool TPagesDlg::WriteStylePage() {
  CommitStylePanel();
  std::vector<std::string> names = styles_.Column(0);
  WriteOutcome outcome = WriteStyles(*store_, *config_, names, styles_.Column(1), styles_.Column(2),
                                     styles_.Column(3));
  if (outcome == WriteOutcome::ReservedStyleName) {
    for (const auto& name : names) {
      if (IsReservedStyleName(name)) {
        messages_->Warn(hwnd(), ReservedStyleNameMessage(name));
        break;
      }
    }
    return false;
  }
  if (outcome != WriteOutcome::Ok) {
    messages_->Error(hwnd(), WithWriteCause(RefusedWriteMessage()));
    return false;
  }
  return true;
}

void TPagesDlg::ShowPanel(Panel& panel, PanelMode mode) {
  panel.mode = mode;
  panel.open = true;
  SetControlText(panel.frame, mode == PanelMode::Add ? "追加" : "変更");
  for (HWND h : panel.covered) ShowWindow(h, SW_HIDE);
  ShowWindow(panel.window.hwnd(), SW_SHOW);
}

void TPagesDlg::HidePanel(Panel& panel) {
  panel.open = false;
  if (!panel.window.hwnd()) return;
  bool had_focus = IsChild(panel.window.hwnd(), GetFocus()) != FALSE;
  ShowWindow(panel.window.hwnd(), SW_HIDE);
  for (HWND h : panel.covered) ShowWindow(h, SW_SHOW);
  if (had_focus) SetFocus(panel.covered.size() > 1 ? panel.covered[1] : OKBtn);
}

// Change and delete work on the selected entry.
void TPagesDlg::MenuListClick() {
  if (!MenuList) return;
  bool selected = Selection(MenuList) >= 0;
  EnableWindow(Button3, selected);
  EnableWindow(Button4, selected);
}

void TPagesDlg::MenuEdit(PanelMode mode) {
  const WorkingList::Row* row = menu_.At(Selection(MenuList));
  if (mode == PanelMode::Change && !row) return;
  filling_ = true;
  SetControlText(MenuName, mode == PanelMode::Change ? (*row)[0] : "");
  SetControlText(fmtFile, mode == PanelMode::Change ? FormatFileText((*row)[1]) : "");
  filling_ = false;
  ShowPanel(menu_panel_, mode);
  SetFocus(MenuName);
}

void TPagesDlg::MenuDelete() {
  if (!menu_.Remove(Selection(MenuList))) return;
  ShowNames(MenuList, menu_, -1);
  SetDirty(kMenuPage);
  MenuListClick();
}

// A list the commit changed is a change of the page, whether or not anything was typed.
void TPagesDlg::CommitMenuPanel() {
  if (!menu_panel_.open) return;
  HidePanel(menu_panel_);
  const WorkingList before = menu_;
  CommitOutcome out = CommitMenuEntry(menu_, Selection(MenuList), menu_panel_.mode, ControlText(MenuName),
                                      ControlText(fmtFile));
  if (out.kind == CommitOutcome::Refused) messages_->Warn(hwnd(), out.warning);
  if (out.changed()) ShowNames(MenuList, menu_, out.selection);
  if (!(menu_ == before)) SetDirty(kMenuPage);
  MenuListClick();
}

// Another TFM shows its own mapping; what was typed for the one before is dropped.
void TPagesDlg::TFMsClick() {
  int tfm = Selection(TFMs);
  if (tfm < 0) return;
  filling_ = true;
  SetControlText(fontname, ReadFontMapping(*store_, ListText(TFMs, tfm)));
  filling_ = false;
  dirty_[kFontPage] = false;
  UpdateApply();
}

void TPagesDlg::StyleListClick() {
  if (!DefinedSty) return;
  bool selected = Selection(DefinedSty) >= 0;
  EnableWindow(Button6, selected);
  EnableWindow(Button7, selected);
}

void TPagesDlg::StyleEdit(PanelMode mode) {
  const WorkingList::Row* row = styles_.At(Selection(DefinedSty));
  if (mode == PanelMode::Change && !row) return;
  filling_ = true;
  for (std::size_t i = 0; i < 4; ++i) SetControlText(style_fields_[i], mode == PanelMode::Change ? (*row)[i] : "");
  filling_ = false;
  ShowPanel(style_panel_, mode);
  SetFocus(BasicStyle);
}

void TPagesDlg::StyleDelete() {
  if (!styles_.Remove(Selection(DefinedSty))) return;
  ShowNames(DefinedSty, styles_, -1);
  SetDirty(kStylePage);
  StyleListClick();
}

void TPagesDlg::CommitStylePanel() {
  if (!style_panel_.open) return;
  HidePanel(style_panel_);
  const WorkingList before = styles_;
  CommitOutcome out = CommitStyle(styles_, Selection(DefinedSty), style_panel_.mode, ControlText(BasicStyle),
                                  ControlText(sizeopt), ControlText(stsizeopt), ControlText(styleopt));
  if (out.kind == CommitOutcome::Refused) messages_->Warn(hwnd(), out.warning);
  if (out.changed()) ShowNames(DefinedSty, styles_, out.selection);
  if (!(styles_ == before)) SetDirty(kStylePage);
  StyleListClick();
}

// The style file's name goes into the field last entered; typing there marks the page.
void TPagesDlg::StyleFileDblClick() {
  int index = Selection(StyleFile);
  if (index < 0) return;
  HWND field = style_fields_[last_field_];
  SetControlText(field, WithStyleFile(ControlText(field), ListText(StyleFile, index), last_field_ == 0));
}

void TPagesDlg::FormatPathClick() {
  FileDialogArgs args{.file_name = "*.fmt",
                      .filter = "ﾌｫｰﾏｯﾄﾌｧｲﾙ|*.fmt",
                      .title = "ﾌｫｰﾏｯﾄﾌｧｲﾙのﾊﾟｽの指定",
                      .initial_dir = GetField(config_->TEXFORMATS, ';', 1),
                      .old_style = old_style_dialogs && old_style_dialogs()};
  std::string chosen;
  if (file_dialogs_->Save(hwnd(), args, chosen)) SetControlText(fmtPath, ChangeFileExt(chosen, ".fmt"));
}

void TPagesDlg::OnCommand(int id, int code, HWND) {
  if (!config_) {
    if (id == IDOK || id == IDCANCEL) EndModal(id);
    return;
  }
  bool click = code == BN_CLICKED;
  switch (id) {
    case IDOK: OKClick(); break;
    case IDCANCEL: EndModal(IDCANCEL); break;
    case kApplyBtn: if (click) ApplyClick(); break;
    case kHelpBtn:
      if (click) RequestHelp(hwnd(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(48 + PageCtl.active()));
      break;
    case kTEXINPUTS: case kTEXFONTS: case kTEXFORMATS: case kTEXPOOL:
      if (code == EN_CHANGE) SetDirty(kEnvironPage);
      break;
    case kButton1: if (click) FormatPathClick(); break;
    case kMenuList:
      if (code == LBN_SELCHANGE) MenuListClick();
      if (code == LBN_DBLCLK) MenuEdit(PanelMode::Change);
      break;
    case kButton2: if (click) MenuEdit(PanelMode::Add); break;
    case kButton3: if (click) MenuEdit(PanelMode::Change); break;
    case kButton4: if (click) MenuDelete(); break;
    case kButton9: if (click) CommitMenuPanel(); break;
    case kMenuName: if (code == EN_CHANGE) SetDirty(kMenuPage); break;
    case kFmtFile: if (IsComboEdit(code)) SetDirty(kMenuPage); break;
    case kTFMs: if (code == LBN_SELCHANGE) TFMsClick(); break;
    case kFontname:
      if (IsComboEdit(code) && Selection(TFMs) >= 0) SetDirty(kFontPage);
      break;
    case kDefinedSty:
      if (code == LBN_SELCHANGE) StyleListClick();
      if (code == LBN_DBLCLK) StyleEdit(PanelMode::Change);
      break;
    case kButton5: if (click) StyleEdit(PanelMode::Add); break;
    case kButton6: if (click) StyleEdit(PanelMode::Change); break;
    case kButton7: if (click) StyleDelete(); break;
    case kButton8: if (click) CommitStylePanel(); break;
    case kBasicStyle: case kSizeopt: case kStsizeopt: case kStyleopt: {
      int field = id == kBasicStyle ? 0 : id == kSizeopt ? 1 : id == kStsizeopt ? 2 : 3;
      if (code == EN_SETFOCUS) last_field_ = field;
      if (code == EN_CHANGE) SetDirty(kStylePage);
      break;
    }
    case kStyleFile: if (code == LBN_DBLCLK) StyleFileDblClick(); break;
    default: break;
  }
}

LRESULT TPagesDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) {
    OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
    return 0;
  }
  if (msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->hwndFrom == PageCtl.hwnd() && header->code == TCN_SELCHANGING) {
      CommitPanelOf(PageCtl.active());
      return FALSE;
    }
    if (header->hwndFrom == PageCtl.hwnd() && header->code == TCN_SELCHANGE) {
      PageChanged();
      return 0;
    }
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
