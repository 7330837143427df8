#include "prefs/env_dialog_win.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstring>

#include "core/profile_values.h"
#include "core/sjis.h"
#include "win/controls_win.h"

namespace quillet {

namespace {

enum : int {
  kPageCtl = 300, kBackUP, kAutoSave, kAutoSaveTime, kAutoSaveTimeSpin, kShowLogFile, kEditorPath, kButton2,
  kWin31Dialog, kUseDocExp, kMacroPath, kFont, kSize, kSampleText, kColoring, kGrammerList, kAttrib, kColorGrid1,
  kTeXList, kTeXPath, kButton3, kDviList, kDviPath, kButton1, kApplyBtn, kHelpBtn, kNewEncoding, kNewLineEnd,
  kShowSpaces, kShowTabs, kShowLineEnds,
};

constexpr const char* kSampleLines =
    "\\documentclass[11pt]{jsarticle}\r\n"
    "\\begin{document}\r\n"
    "% This is comment line, will not be compiled\r\n"
    "\\section{first}\r\n"
    "Welcome to \\TeX Quillet!!\r\n"
    "$$\\frac{1}{2}$$";

}  // namespace

bool TPagesDlg1::Create() {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  if (!CreateForm("TPagesDlg1", "環境設定", 536, 295, style, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP)) return false;
  return PageCtl.Create(hwnd(), font(), 8, 8, 520, 246, kPageCtl, {"動作一般", "ｴﾃﾞｨﾀ表示", "TeXの選択", "Dviの選択"});
}

// The pages' controls are made when their page is first shown: making all of them at
// the dialog's first showing took longer than a dialog should take to open.
void TPagesDlg1::BuildContents() { CreateButtonRow(); }

void TPagesDlg1::EnsurePage(int page) {
  EnsureBuilt();
  if (page < 0 || page >= kEnvPageCount || page_built_[static_cast<std::size_t>(page)]) return;
  page_built_[static_cast<std::size_t>(page)] = true;
  HWND p = PageCtl.page(page);
  switch (page) {
    case 0: CreatePage0(p); break;
    case 1:
      CreatePage1(p);
      FillFontList();
      break;
    case 2: CreatePage2(p); break;
    default: CreatePage3(p); break;
  }
  FillPage(page);
}

// Labels and frames are made just before the control they name, so their access keys
// lead to it.
void TPagesDlg1::CreatePage0(HWND p) {
  HFONT f = font();
  CreateGroupBox(p, f, "ﾌｧｲﾙの保存", 8, 6, 240, 104);
  BackUP = WithHelp(CreateCheckBox(p, f, "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙを作る", 20, 26, 220, 20, kBackUP), 108);
  AutoSave = WithHelp(CreateCheckBox(p, f, "ｵｰﾄｾｰﾋﾞﾝｸﾞ機能を使う", 20, 50, 220, 20, kAutoSave), 109);
  CreateLabel(p, f, "ｾｰﾌﾞする間隔", 36, 80, 80, 16);
  AutoSaveTime = WithHelp(CreateEditBox(p, f, 118, 77, 50, 21, kAutoSaveTime, ES_NUMBER), 110);
  AutoSaveTimeSpin = CreateControl(
      p, {.class_name = UPDOWN_CLASSA, .style = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
          .id = kAutoSaveTimeSpin}, f);
  SendMessageA(AutoSaveTimeSpin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(AutoSaveTime), 0);
  SendMessageA(AutoSaveTimeSpin, UDM_SETRANGE32, kMinAutoSaveMinutes, kMaxAutoSaveMinutes);
  CreateLabel(p, f, "分", 176, 80, 20, 16);
  ShowLogFile = WithHelp(CreateCheckBox(p, f, "TeXをかけた後にﾛｸﾞﾌｧｲﾙを表示", 260, 10, 240, 20, kShowLogFile), 111);
  CreateGroupBox(p, f, "", 260, 32, 240, 78);
  CreateLabel(p, f, "表示に使うｴﾃﾞｨﾀ", 270, 48, 120, 16);
  EditorPath = WithHelp(CreateEditBox(p, f, 270, 66, 220, 21, kEditorPath), 112);
  Button2 = WithHelp(CreateButton(p, f, "参照(&B)...", 410, 88, 80, 20, kButton2), 113);
  Win31Dialog = WithHelp(
      CreateCheckBox(p, f, "Windows3.1ﾀｲﾌﾟのﾌｧｲﾙ選択ﾀﾞｲｱﾛｸﾞを使う", 8, 122, 320, 20, kWin31Dialog), 114);
  UseDocExp = WithHelp(CreateCheckBox(p, f, "文書作成ｳｨｻﾞｰﾄﾞを使う", 8, 146, 320, 20, kUseDocExp), 115);
  CreateLabel(p, f, "定型ﾏｸﾛのﾊﾟｽ:", 8, 182, 90, 16);
  MacroPath = WithHelp(CreateEditBox(p, f, 100, 179, 400, 21, kMacroPath), 116);
}

void TPagesDlg1::CreatePage1(HWND p) {
  HFONT f = font();
  // Font and size share a row, so the marks fit under them.
  CreateGroupBox(p, f, "ｴﾃﾞｨﾀﾌｫﾝﾄ(&F)", 8, 6, 240, 48);
  Font = WithHelp(CreateComboBox(p, f, 20, 22, 124, 240, kFont, CBS_DROPDOWN | CBS_SORT), 117);
  SendMessageA(Font, CB_SETDROPPEDWIDTH, 216, 0);
  CreateLabel(p, f, "ｻｲｽﾞ(&S)", 150, 26, 40, 16);
  Size = WithHelp(CreateComboBox(p, f, 190, 22, 46, 240, kSize), 118);
  for (int n = 7; n <= 30; ++n) SendMessageA(Size, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(n).c_str()));
  CreateGroupBox(p, f, "記号の表示", 8, 58, 240, 38);
  ShowSpaces = WithHelp(CreateCheckBox(p, f, "全角ｽﾍﾟｰｽ(&Z)", 20, 73, 92, 18, kShowSpaces), 168);
  ShowTabs = WithHelp(CreateCheckBox(p, f, "ﾀﾌﾞ(&B)", 116, 73, 56, 18, kShowTabs), 169);
  ShowLineEnds = WithHelp(CreateCheckBox(p, f, "改行(&R)", 176, 73, 60, 18, kShowLineEnds), 170);
  CreateLabel(p, f, "画面ｲﾒｰｼﾞ(&I):", 8, 100, 120, 16);
  SampleText = WithHelp(
      CreateControl(p, {.class_name = "EDIT", .text = kSampleLines, .x = 8, .y = 116, .width = 240, .height = 66,
                        .style = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                        .ex_style = WS_EX_CLIENTEDGE, .id = kSampleText}, f),
      119);
  Coloring = WithHelp(CreateCheckBox(p, f, "ﾃｷｽﾄの色付け(&T)", 260, 6, 200, 20, kColoring), 120);
  EnableWindow(Coloring, FALSE);
  HWND group = CreateGroupBox(p, f, "", 260, 28, 240, 154);
  EnableWindow(group, FALSE);
  EnableWindow(CreateLabel(p, f, "文法要素(&E)", 270, 44, 100, 16), FALSE);
  GrammerList = WithHelp(CreateListBox(p, f, 270, 62, 104, 110, kGrammerList), 121);
  EnableWindow(CreateLabel(p, f, "文字属性(&A)", 384, 44, 100, 16), FALSE);
  Attrib = WithHelp(CreateComboBox(p, f, 384, 62, 106, 240, kAttrib, CBS_DROPDOWNLIST), 122);
  EnableWindow(CreateLabel(p, f, "色(&C)", 384, 92, 60, 16), FALSE);
  ColorGrid1 = WithHelp(CreateControl(p, {.class_name = "STATIC", .x = 384, .y = 110, .width = 104, .height = 62,
                                          .style = SS_OWNERDRAW, .id = kColorGrid1}, f),
                        123);
  for (HWND h : {GrammerList, Attrib, ColorGrid1}) EnableWindow(h, FALSE);
  // One row under both columns: what new documents are written in.
  CreateLabel(p, f, "新規文書の文字ｺｰﾄﾞ(&K):", 8, 194, 136, 16);
  NewEncoding = WithHelp(CreateComboBox(p, f, 146, 190, 128, 160, kNewEncoding, CBS_DROPDOWNLIST), 163);
  CreateLabel(p, f, "改行ｺｰﾄﾞ(&L):", 286, 194, 74, 16);
  NewLineEnd = WithHelp(CreateComboBox(p, f, 362, 190, 138, 160, kNewLineEnd, CBS_DROPDOWNLIST), 164);
  FillCodingLists(NewCodingLists());
}

void TPagesDlg1::CreatePage2(HWND p) {
  HFONT f = font();
  CreateLabel(p, f, "TeXの種類(T):", 8, 8, 200, 16);
  TeXList = WithHelp(CreateListBox(p, f, 8, 26, 300, 60, kTeXList), 124);
  for (const char* kind : kTeXKinds) SendMessageA(TeXList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
  CreateLabel(p, f, "TeXのあるﾃﾞｨﾚｸﾄﾘ(&D):", 8, 104, 200, 16);
  TeXPath = WithHelp(CreateEditBox(p, f, 8, 122, 400, 21, kTeXPath), 125);
  Button3 = WithHelp(CreateButton(p, f, "参照(&B)...", 416, 121, 84, 23, kButton3), 126);
}

void TPagesDlg1::CreatePage3(HWND p) {
  HFONT f = font();
  CreateLabel(p, f, "DVI表示ｿﾌﾄの種類(&V):", 8, 8, 200, 16);
  DviList = WithHelp(CreateListBox(p, f, 8, 26, 300, 84, kDviList), 127);
  for (const char* kind : kDviKinds) SendMessageA(DviList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
  CreateLabel(p, f, "DVI表示ｿﾌﾄのあるﾃﾞｨﾚｸﾄﾘ(&D):", 8, 124, 240, 16);
  DviPath = WithHelp(CreateEditBox(p, f, 8, 142, 400, 21, kDviPath), 128);
  Button1 = WithHelp(CreateButton(p, f, "参照(&B)...", 416, 141, 84, 23, kButton1), 129);
}

void TPagesDlg1::CreateButtonRow() {
  SettingsButtons row = CreateSettingsButtons(hwnd(), font(), 196, 262, kApplyBtn, kHelpBtn);
  OKBtn = row.ok;
  CancelBtn = row.cancel;
  ApplyBtn = row.apply;
  HelpBtn = row.help;
}

void TPagesDlg1::FillFontList() {
  for (const auto& name : ScreenFontFamilies()) {
    if (IsListedFontName(name)) SendMessageA(Font, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void TPagesDlg1::Prepare(FileDialogs& dialogs, PageApplier apply_page) {
  dialogs_ = &dialogs;
  apply_page_ = std::move(apply_page);
}

void TPagesDlg1::Edit(HWND owner, const EnvSettings& in_force, std::optional<int> page) {
  if (page) PageCtl.SetActive(*page);
  SaveEnvironmentSnapshot(in_force);
  FormActivate();
  ShowModal(owner);
}

// A kind outside the list (none chosen) shows the first one.
void TPagesDlg1::SaveEnvironmentSnapshot(const EnvSettings& in_force) {
  in_force_ = in_force;
  auto take = [](const ProgramChoice& choice, std::size_t kinds, std::vector<std::string>& paths, int& shown) {
    paths = choice.paths;
    paths.resize(kinds);  // one path per entry of the list, whatever came in
    shown = choice.use >= 0 && choice.use < static_cast<int>(kinds) ? choice.use : 0;
  };
  take(in_force.tex, std::size(kTeXKinds), tex_paths_, tex_shown_);
  take(in_force.dvi, std::size(kDviKinds), dvi_paths_, dvi_shown_);
  for (int page = 0; page < kEnvPageCount; ++page) {
    if (page_built_[static_cast<std::size_t>(page)]) FillPage(page);
  }
  EnsurePage(PageCtl.active());
}

// The page's controls show the settings in force; filling is not editing.
void TPagesDlg1::FillPage(int page) {
  filling_ = true;
  const GeneralSettings& g = in_force_.general;
  auto show_choice = [](HWND list, HWND path, const std::vector<std::string>& paths, int shown) {
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(shown), 0);
    SetControlText(path, paths[static_cast<std::size_t>(shown)]);
  };
  switch (page) {
    case 0: {
      SetChecked(BackUP, g.backup);
      SetChecked(AutoSave, g.auto_save);
      int minutes = ClampAutoSaveMinutes(g.auto_save_minutes);
      SetControlText(AutoSaveTime, std::to_string(minutes));
      SendMessageA(AutoSaveTimeSpin, UDM_SETPOS32, 0, minutes);
      SetChecked(ShowLogFile, g.show_log_file);
      SetControlText(EditorPath, g.editor_path);
      SetChecked(Win31Dialog, g.win31_dialog);
      SetChecked(UseDocExp, g.use_doc_exp);
      SetControlText(MacroPath, g.macro_path);
      EnableDependents();
      break;
    }
    case 1:
      SetControlText(Font, in_force_.editor.font_name);
      SetControlText(Size, in_force_.editor.font_size);
      ShowCoding(NewCodingLists(), in_force_.editor.new_coding);
      SetChecked(ShowSpaces, in_force_.editor.marks.full_width_space);
      SetChecked(ShowTabs, in_force_.editor.marks.tab);
      SetChecked(ShowLineEnds, in_force_.editor.marks.line_end);
      ShowPreview();
      break;
    case 2: show_choice(TeXList, TeXPath, tex_paths_, tex_shown_); break;
    default: show_choice(DviList, DviPath, dvi_paths_, dvi_shown_); break;
  }
  filling_ = false;
}

// Texts go out cut on a character boundary to what the settings file gives back. A page
// never shown keeps the settings in force.
EnvSettings TPagesDlg1::EditedSettings() const {
  EnvSettings s = in_force_;
  auto built = [this](int page) { return page_built_[static_cast<std::size_t>(page)]; };
  if (built(0)) {
    GeneralSettings& g = s.general;
    g.backup = IsChecked(BackUP);
    g.auto_save = IsChecked(AutoSave);
    g.auto_save_minutes = TypedAutoSaveMinutes(ControlText(AutoSaveTime));
    g.show_log_file = IsChecked(ShowLogFile);
    g.editor_path = CutProfileString(ControlText(EditorPath));
    g.win31_dialog = IsChecked(Win31Dialog);
    g.use_doc_exp = IsChecked(UseDocExp);
    g.macro_path = CutProfileString(ControlText(MacroPath));
  }
  if (built(1)) {
    s.editor.font_name = std::string(CutToBytes(ControlText(Font), LF_FACESIZE - 1));
    s.editor.font_size = CutProfileString(ControlText(Size));
    s.editor.new_coding = ChosenCoding(NewCodingLists(), in_force_.editor.new_coding);
    s.editor.marks = {IsChecked(ShowSpaces), IsChecked(ShowTabs), IsChecked(ShowLineEnds)};
  }
  auto edited_choice = [](HWND list, HWND path, std::vector<std::string> paths) {
    int use = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (use < 0 || use >= static_cast<int>(paths.size())) use = 0;
    paths[static_cast<std::size_t>(use)] = CutProfileString(ControlText(path));
    return ProgramChoice{use, std::move(paths)};
  };
  if (built(2)) s.tex = edited_choice(TeXList, TeXPath, tex_paths_);
  if (built(3)) s.dvi = edited_choice(DviList, DviPath, dvi_paths_);
  return s;
}

// Every showing starts with nothing edited.
void TPagesDlg1::FormActivate() {
  page_changed_.fill(false);
  EnableWindow(ApplyBtn, FALSE);
  if (page_built_[1]) ShowPreview();
}

void TPagesDlg1::PageCtlChange() {
  EnsurePage(PageCtl.active());
  PageCtl.ShowSelected();
  EnableWindow(ApplyBtn, PageChanged(PageCtl.active()));
}

void TPagesDlg1::MarkChanged(int page) {
  if (filling_) return;
  page_changed_[static_cast<std::size_t>(page)] = true;
  EnableWindow(ApplyBtn, TRUE);
}

// A refused write keeps the dialog open with what the user typed.
void TPagesDlg1::OKBtnClick() {
  for (int page = 0; page < kEnvPageCount; ++page) {
    if (PageChanged(page) && !ApplyEnvironmentPage(page)) return;
  }
  EndModal(IDOK);
}

void TPagesDlg1::ApplyBtnClick() {
  int page = PageCtl.active();
  if (!ApplyEnvironmentPage(page)) return;
  page_changed_[static_cast<std::size_t>(page)] = false;
  EnableWindow(ApplyBtn, FALSE);
}

// A page written becomes what Cancel returns to.
bool TPagesDlg1::ApplyEnvironmentPage(int page) {
  EnvSettings edited = EditedSettings();
  if (!apply_page_ || !apply_page_(page, edited)) return false;
  TakePage(in_force_, edited, page);
  if (page == 2) tex_paths_ = edited.tex.paths;
  if (page == 3) dvi_paths_ = edited.dvi.paths;
  return true;
}

void TPagesDlg1::ShowPreview() {
  preview_font_ = CreatePointFont(ControlText(Font).c_str(), PreviewFontSize(ControlText(Size)));
  SendMessageA(SampleText, WM_SETFONT, reinterpret_cast<WPARAM>(preview_font_.get()), TRUE);
}

// An interval outside one minute to one day takes the nearer limit when the box is left.
void TPagesDlg1::AutoSaveTimeExit() {
  std::string typed = ControlText(AutoSaveTime);
  std::string kept = std::to_string(TypedAutoSaveMinutes(typed));
  if (typed != kept) SetControlText(AutoSaveTime, kept);
}

// The interval counts only with autosave on; the editor only when the log is shown.
void TPagesDlg1::EnableDependents() {
  bool auto_save = IsChecked(AutoSave), show_log = IsChecked(ShowLogFile);
  EnableWindow(AutoSaveTime, auto_save);
  EnableWindow(AutoSaveTimeSpin, auto_save);
  EnableWindow(EditorPath, show_log);
  EnableWindow(Button2, show_log);
}

void TPagesDlg1::SwitchKind(HWND list, HWND path, std::vector<std::string>& paths, int& shown, int page) {
  int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  if (selected < 0 || selected >= static_cast<int>(paths.size())) return;
  paths[static_cast<std::size_t>(shown)] = CutProfileString(ControlText(path));
  SetControlText(path, paths[static_cast<std::size_t>(selected)]);
  shown = selected;
  MarkChanged(page);
}

void TPagesDlg1::Browse(HWND path, const char* title) {
  if (!dialogs_) return;
  FileDialogArgs args{.file_name = "*.exe",
                      .filter = "実行ﾌｧｲﾙ|*.exe",
                      .title = title,
                      .flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                      .old_style = in_force_.general.win31_dialog};
  std::string chosen;
  if (dialogs_->Open(hwnd(), args, chosen)) SetControlText(path, chosen);
}

// The text a combo box will hold: a pick from the list is not in the edit field yet.
std::string TPagesDlg1::ComboText(HWND combo, int code) const {
  LRESULT pick = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (code != CBN_SELCHANGE || pick == CB_ERR) return ControlText(combo);
  LRESULT n = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(pick), 0);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(pick), reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::strlen(text.c_str()));
  return text;
}

void TPagesDlg1::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK: OKBtnClick(); break;
    case IDCANCEL: EndModal(IDCANCEL); break;
    case kApplyBtn: ApplyBtnClick(); break;
    case kHelpBtn: RequestHelp(hwnd(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(43 + PageCtl.active())); break;
    case kAutoSave:
    case kShowLogFile:
    case kBackUP:
    case kWin31Dialog:
    case kUseDocExp:
      if (code != BN_CLICKED) break;
      EnableDependents();
      MarkChanged(0);
      break;
    case kAutoSaveTime:
      if (code == EN_CHANGE) MarkChanged(0);
      if (code == EN_KILLFOCUS) AutoSaveTimeExit();
      break;
    case kEditorPath:
    case kMacroPath:
      if (code == EN_CHANGE) MarkChanged(0);
      break;
    case kButton2:
      Browse(EditorPath, "ｴﾃﾞｨﾀのﾊﾟｽ指定");
      MarkChanged(0);
      break;
    case kFont:
    case kSize:
      if (code != CBN_EDITCHANGE && code != CBN_SELCHANGE) break;
      if (code == CBN_SELCHANGE) SetControlText(control, ComboText(control, code));
      ShowPreview();
      MarkChanged(1);
      break;
    case kNewEncoding:
    case kNewLineEnd:
      if (code == CBN_SELCHANGE) MarkChanged(1);
      break;
    case kShowSpaces:
    case kShowTabs:
    case kShowLineEnds:
      if (code == BN_CLICKED) MarkChanged(1);
      break;
    case kTeXList:
      if (code == LBN_SELCHANGE) SwitchKind(TeXList, TeXPath, tex_paths_, tex_shown_, 2);
      break;
    case kTeXPath:
      if (code == EN_CHANGE) MarkChanged(2);
      break;
    case kButton3: Browse(TeXPath, "TeXのﾊﾟｽ指定"); break;
    case kDviList:
      if (code == LBN_SELCHANGE) SwitchKind(DviList, DviPath, dvi_paths_, dvi_shown_, 3);
      break;
    case kDviPath:
      if (code == EN_CHANGE) MarkChanged(3);
      break;
    case kButton1: Browse(DviPath, "Dviﾃﾞﾊﾞｲｽのﾊﾟｽ指定"); break;
    default: break;
  }
}

void TPagesDlg1::PaintColorGrid(const DRAWITEMSTRUCT& item) {
  static const COLORREF kColors[16] = {
      RGB(0, 0, 0),     RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0), RGB(0, 0, 128),   RGB(128, 0, 128),
      RGB(0, 128, 128), RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 0, 0), RGB(0, 255, 0),   RGB(255, 255, 0),
      RGB(0, 0, 255),   RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
  RECT r = item.rcItem;
  int cw = (r.right - r.left) / 4, ch = (r.bottom - r.top) / 4;
  bool enabled = IsWindowEnabled(item.hwndItem);
  for (int i = 0; i < 16; ++i) {
    RECT cell{r.left + (i % 4) * cw, r.top + (i / 4) * ch, r.left + (i % 4 + 1) * cw, r.top + (i / 4 + 1) * ch};
    COLORREF c = kColors[i];
    if (!enabled) {
      // Greyed: the colours faded toward the face colour.
      int grey = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
      int faded = (grey + 2 * 212) / 3;
      c = RGB(faded, faded, faded);
    }
    BrushHandle brush(CreateSolidBrush(c));
    FillRect(item.hDC, &cell, brush.get());
    FrameRect(item.hDC, &cell, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  }
}

LRESULT TPagesDlg1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lp)->hwndFrom == PageCtl.hwnd() &&
          reinterpret_cast<NMHDR*>(lp)->code == TCN_SELCHANGE) {
        PageCtlChange();
      }
      return 0;
    case WM_DRAWITEM:
      if (wp == kColorGrid1) {
        PaintColorGrid(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
