#include "prefs/env_dialog_win.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "core/profile_values.h"
#include "win/controls_win.h"

namespace quillet {

namespace {

enum : int {
  kPageCtl = 300, kBackUP, kAutoSave, kAutoSaveTime, kAutoSaveTimeSpin, kShowLogFile, kEditorPath, kButton2,
  kWin31Dialog, kUseDocExp, kMacroPath, kFont, kSize, kSampleText, kColoring, kGrammerList, kAttrib, kColorGrid1,
  kTeXList, kTeXPath, kButton3, kDviList, kDviPath, kButton1, kApplyBtn, kHelpBtn,
};

constexpr const char* kSampleLines =
    "\\documentstyle[11pt]{jarticle}\r\n"
    "\\begin{document}\r\n"
    "% This is comment line, will not be compiled\r\n"
    "\\section{first}\r\n"
    "Welcome to \\TeX Quillet!!\r\n"
    "$$\\frac{1}{2}$$";

HWND CreateList(HWND parent, HFONT font, int x, int y, int w, int h, int id) {
  return CreateControl(parent,
                       {.class_name = "LISTBOX", .x = x, .y = y, .width = w, .height = h,
                        .style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                        .ex_style = WS_EX_CLIENTEDGE, .id = id},
                       font);
}

HWND CreateCombo(HWND parent, HFONT font, int x, int y, int w, int id, DWORD style = CBS_DROPDOWN) {
  return CreateControl(parent,
                       {.class_name = "COMBOBOX", .x = x, .y = y, .width = w, .height = 240,
                        .style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | style, .id = id},
                       font);
}

// Japanese screen fonts: names with a double-byte character, without the vertical
// writing faces ("@...") and without names starting with "#", "$", "%" or "&".
bool IsListedFontName(const std::string& name) {
  if (name.empty()) return false;
  unsigned char first = static_cast<unsigned char>(name[0]);
  if (first == 0x40 || (first >= 0x23 && first <= 0x26)) return false;
  return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

bool TPagesDlg1::Create() {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  if (!CreateForm("TPagesDlg1", "環境設定", 536, 295, style, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP)) return false;
  return PageCtl.Create(hwnd(), font(), 8, 8, 520, 246, kPageCtl, {"動作一般", "ｴﾃﾞｨﾀ表示", "TeXの選択", "Dviの選択"});
}

void TPagesDlg1::BuildContents() {
  CreatePage0(PageCtl.page(0));
  CreatePage1(PageCtl.page(1));
  CreatePage2(PageCtl.page(2));
  CreatePage3(PageCtl.page(3));
  CreateButtonRow();
  FillFontList();
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
  CreateGroupBox(p, f, "ｴﾃﾞｨﾀﾌｫﾝﾄ(&F)", 8, 6, 240, 84);
  Font = WithHelp(CreateCombo(p, f, 20, 26, 216, kFont, CBS_DROPDOWN | CBS_SORT), 117);
  CreateLabel(p, f, "ｻｲｽﾞ(&S)", 20, 60, 60, 16);
  Size = WithHelp(CreateCombo(p, f, 84, 56, 70, kSize), 118);
  for (int n = 7; n <= 30; ++n) SendMessageA(Size, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(n).c_str()));
  CreateLabel(p, f, "画面ｲﾒｰｼﾞ(&I):", 8, 98, 120, 16);
  SampleText = WithHelp(
      CreateControl(p, {.class_name = "EDIT", .text = kSampleLines, .x = 8, .y = 116, .width = 240, .height = 96,
                        .style = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
                        .ex_style = WS_EX_CLIENTEDGE, .id = kSampleText}, f),
      119);
  Coloring = WithHelp(CreateCheckBox(p, f, "ﾃｷｽﾄの色付け(&T)", 260, 6, 200, 20, kColoring), 120);
  EnableWindow(Coloring, FALSE);
  HWND group = CreateGroupBox(p, f, "", 260, 28, 240, 184);
  EnableWindow(group, FALSE);
  EnableWindow(CreateLabel(p, f, "文法要素(&E)", 270, 44, 100, 16), FALSE);
  GrammerList = WithHelp(CreateList(p, f, 270, 62, 104, 140, kGrammerList), 121);
  EnableWindow(CreateLabel(p, f, "文字属性(&A)", 384, 44, 100, 16), FALSE);
  Attrib = WithHelp(CreateCombo(p, f, 384, 62, 106, kAttrib, CBS_DROPDOWNLIST), 122);
  EnableWindow(CreateLabel(p, f, "色(&C)", 384, 92, 60, 16), FALSE);
  ColorGrid1 = WithHelp(CreateControl(p, {.class_name = "STATIC", .x = 384, .y = 110, .width = 104, .height = 92,
                                          .style = SS_OWNERDRAW, .id = kColorGrid1}, f),
                        123);
  for (HWND h : {GrammerList, Attrib, ColorGrid1}) EnableWindow(h, FALSE);
}

void TPagesDlg1::CreatePage2(HWND p) {
  HFONT f = font();
  CreateLabel(p, f, "TeXの種類(T):", 8, 8, 200, 16);
  TeXList = WithHelp(CreateList(p, f, 8, 26, 300, 60, kTeXList), 124);
  for (const char* kind : kTeXKinds) SendMessageA(TeXList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
  CreateLabel(p, f, "TeXのあるﾃﾞｨﾚｸﾄﾘ(&D):", 8, 104, 200, 16);
  TeXPath = WithHelp(CreateEditBox(p, f, 8, 122, 400, 21, kTeXPath), 125);
  Button3 = WithHelp(CreateButton(p, f, "参照(&B)...", 416, 121, 84, 23, kButton3), 126);
}

void TPagesDlg1::CreatePage3(HWND p) {
  HFONT f = font();
  CreateLabel(p, f, "DVI表示ｿﾌﾄの種類(&V):", 8, 8, 200, 16);
  DviList = WithHelp(CreateList(p, f, 8, 26, 300, 84, kDviList), 127);
  for (const char* kind : kDviKinds) SendMessageA(DviList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
  CreateLabel(p, f, "DVI表示ｿﾌﾄのあるﾃﾞｨﾚｸﾄﾘ(&D):", 8, 124, 240, 16);
  DviPath = WithHelp(CreateEditBox(p, f, 8, 142, 400, 21, kDviPath), 128);
  Button1 = WithHelp(CreateButton(p, f, "参照(&B)...", 416, 141, 84, 23, kButton1), 129);
}

void TPagesDlg1::CreateButtonRow() {
  HFONT f = font();
  OKBtn = WithHelp(CreateButton(hwnd(), f, "OK", 196, 262, 78, 25, IDOK, true), 75);
  CancelBtn = WithHelp(CreateButton(hwnd(), f, "ｷｬﾝｾﾙ", 280, 262, 78, 25, IDCANCEL), 76);
  ApplyBtn = WithHelp(CreateButton(hwnd(), f, "更新(&A)", 364, 262, 78, 25, kApplyBtn), 77);
  HelpBtn = WithHelp(CreateButton(hwnd(), f, "ﾍﾙﾌﾟ", 448, 262, 78, 25, kHelpBtn), 78);
  EnableWindow(ApplyBtn, FALSE);
}

void TPagesDlg1::FillFontList() {
  for (const auto& name : ScreenFontFamilies()) {
    if (IsListedFontName(name)) SendMessageA(Font, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void TPagesDlg1::ShowSettings(const EnvSettings& settings) {
  EnsureBuilt();
  shown_ = settings;
  const GeneralSettings& g = settings.general;
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
  SetControlText(Font, settings.editor.font_name);
  SetControlText(Size, settings.editor.font_size);
  SendMessageA(TeXList, LB_SETCURSEL, static_cast<WPARAM>(settings.tex.use), 0);
  SendMessageA(DviList, LB_SETCURSEL, static_cast<WPARAM>(settings.dvi.use), 0);
  EnableDependents();
}

EnvSettings TPagesDlg1::EditedSettings() const {
  EnvSettings s = shown_;
  GeneralSettings& g = s.general;
  g.backup = IsChecked(BackUP);
  g.auto_save = IsChecked(AutoSave);
  g.auto_save_minutes = ClampAutoSaveMinutes(ParseProfileInt(ControlText(AutoSaveTime), kMinAutoSaveMinutes));
  g.show_log_file = IsChecked(ShowLogFile);
  g.editor_path = ControlText(EditorPath);
  g.win31_dialog = IsChecked(Win31Dialog);
  g.use_doc_exp = IsChecked(UseDocExp);
  g.macro_path = ControlText(MacroPath);
  s.editor.font_name = ControlText(Font);
  s.editor.font_size = ControlText(Size);
  s.tex.use = static_cast<int>(SendMessageA(TeXList, LB_GETCURSEL, 0, 0));
  s.dvi.use = static_cast<int>(SendMessageA(DviList, LB_GETCURSEL, 0, 0));
  return s;
}

// The interval counts only with autosave on; the editor only when the log is shown.
void TPagesDlg1::EnableDependents() {
  bool auto_save = IsChecked(AutoSave), show_log = IsChecked(ShowLogFile);
  EnableWindow(AutoSaveTime, auto_save);
  EnableWindow(AutoSaveTimeSpin, auto_save);
  EnableWindow(EditorPath, show_log);
  EnableWindow(Button2, show_log);
}

void TPagesDlg1::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDOK:
      EndModal(IDOK);
      break;
    case IDCANCEL:
      EndModal(IDCANCEL);
      break;
    case kHelpBtn:
      RequestHelp(hwnd(), HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(43 + PageCtl.active()));
      break;
    case kAutoSave:
    case kShowLogFile:
      if (code == BN_CLICKED) EnableDependents();
      break;
    default:
      break;
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
        PageCtl.ShowSelected();
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
