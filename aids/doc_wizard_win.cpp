#include "aids/doc_wizard_win.h"

#include <algorithm>

#include "artwork/artwork_win.h"
#include "tex/tex_commands.h"
#include "win/controls_win.h"
#include "win/message_dialog_win.h"

namespace quillet {

namespace {

enum : int { kBackBtn = 700, kNoUse, kNoUseNext, kListBox1, kTitleExist, kRadio1 };
// The bridge answers within a second or two; without its answer every class is offered.
constexpr DWORD kClassListWaitMs = 5000;
constexpr int kPictureX = 8, kPictureY = 8;
constexpr RECT kPageArea{146, 8, 497, 225};
constexpr const char* kNext = "次へ >";
constexpr const char* kFinish = "完了";

HWND CreateCombo(HWND parent, HFONT f, int x, int y, int w, DWORD context) {
  return WithHelp(CreateComboBox(parent, f, x, y, w, 200, 0), context);
}

// Puts a class's suggestions in a combo box. A text taken from the suggestions before that
// the new ones lack is emptied: the new class would not take it.
void Suggest(HWND combo, std::string_view list) {
  std::string text = ControlText(combo);
  bool was_suggested = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())) >= 0;
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  std::vector<std::string> items = ListItems(list);
  for (const std::string& item : items) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (was_suggested && std::find(items.begin(), items.end(), text) == items.end()) text.clear();
  SetControlText(combo, text);
}

HWND CreateField(HWND parent, HFONT f, const char* label, int y, DWORD context) {
  CreateLabel(parent, f, label, 8, y + 3, 80, 14);
  return WithHelp(CreateEditBox(parent, f, 96, y, 247, 21, 0), context);
}

}  // namespace

bool TDocExpDlg::Create(Messages& messages) {
  messages_ = &messages;
  if (!CreateForm("TDocExpDlg", "文書作成ｳｨｻﾞｰﾄﾞ", 505, 279, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                  WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP)) {
    return false;
  }
  return true;
}

void TDocExpDlg::BuildContents() {
  HFONT f = font();
  Page1.Create(hwnd(), kPageArea);
  Page2.Create(hwnd(), kPageArea);
  Page3.Create(hwnd(), kPageArea);
  CreatePage1();
  CreatePage2();
  CreatePage3();
  CreateControl(hwnd(), {.class_name = "STATIC", .x = 8, .y = 234, .width = 489, .height = 2, .style = SS_ETCHEDHORZ}, f);
  BackBtn = WithHelp(CreateButton(hwnd(), f, "< 戻る(&B)", 241, 246, 80, 25, kBackBtn), 137);
  NextBtn = WithHelp(CreateButton(hwnd(), f, kNext, 321, 246, 80, 25, IDOK, true), 138);
  CancelBtn = WithHelp(CreateButton(hwnd(), f, "ｷｬﾝｾﾙ", 417, 246, 80, 25, IDCANCEL), 139);
  SetChecked(TitleExist, true);
  SetControlText(Date, "\\today");
}

void TDocExpDlg::CreatePage1() {
  HWND p = Page1.hwnd();
  HFONT f = font();
  CreateLabel(p, f, "文書作成ｳｨｻﾞｰﾄﾞを使うとTeX文書を簡単に作成できます。", 8, 24, 335, 14);
  CreateLabel(p, f, "次のﾍﾟｰｼﾞに進むには[次へ >]をｸﾘｯｸして下さい。", 8, 56, 335, 14);
  NoUse = WithHelp(CreateCheckBox(p, f, "今回はｳｨｻﾞｰﾄﾞを使わない", 8, 150, 300, 20, kNoUse), 140);
  NoUseNext = WithHelp(CreateCheckBox(p, f, "次回以降もｳｨｻﾞｰﾄﾞを使わない", 24, 174, 300, 20, kNoUseNext), 141);
  EnableWindow(NoUseNext, FALSE);
}

void TDocExpDlg::CreatePage2() {
  HWND p = Page2.hwnd();
  HFONT f = font();
  CreateLabel(p, f, "新規文書のｽﾀｲﾙﾌｧｲﾙ、ｵﾌﾟｼｮﾝを設定して下さい。", 8, 4, 335, 14);
  CreateLabel(p, f, "ｽﾀｲﾙﾌｧｲﾙ(&S)", 8, 26, 100, 14);
  ListBox1 = WithHelp(CreateListBox(p, f, 8, 42, 100, 130, kListBox1), 142);
  CreateGroupBox(p, f, "選択したｽﾀｲﾙﾌｧｲﾙの説明", 116, 22, 227, 54);
  StyleExp = WithHelp(CreateEditBox(p, f, 124, 38, 211, 32, 0, ES_READONLY | ES_MULTILINE), 143);
  CreateLabel(p, f, "処理系(&E)", 116, 84, 100, 14);
  EngineBox = WithHelp(CreateComboBox(p, f, 218, 80, 90, 120, 0, CBS_DROPDOWNLIST), 167);
  CreateLabel(p, f, "基本文字ｻｲｽﾞ(&T)", 116, 108, 100, 14);
  StrSize = CreateCombo(p, f, 218, 104, 56, 144);
  Useidx = WithHelp(CreateCheckBox(p, f, "索引機能", 280, 105, 68, 20, 0), 145);
  CreateLabel(p, f, "用紙ｻｲｽﾞ(&P)", 116, 132, 100, 14);
  PaperSize = CreateCombo(p, f, 218, 128, 125, 147);
  CreateLabel(p, f, "その他のｵﾌﾟｼｮﾝ(&O)", 116, 156, 100, 14);
  OtherOpt = CreateCombo(p, f, 218, 152, 125, 146);
  HWND group = CreateGroupBox(p, f, "ﾍｯﾀﾞ、ﾌｯﾀ(&H)", 8, 178, 335, 36);
  SetWindowContextHelpId(group, 148);
  for (int i = 0; i < 3; ++i) {
    RadioGroup1[i] = WithHelp(CreateControl(p,
                                            {.class_name = "BUTTON", .text = kPageStyles[static_cast<std::size_t>(i)],
                                             .x = 24 + i * 104, .y = 193, .width = 96, .height = 16,
                                             .style = static_cast<DWORD>(BS_AUTORADIOBUTTON | (i ? 0 : WS_GROUP | WS_TABSTOP)),
                                             .id = kRadio1 + i},
                                            f),
                              148);
  }
}

void TDocExpDlg::CreatePage3() {
  HWND p = Page3.hwnd();
  HFONT f = font();
  CreateLabel(p, f, "文書の表題を指定して下さい。", 8, 4, 335, 14);
  Title = CreateField(p, f, "ﾀｲﾄﾙ(&T)", 26, 149);
  Author1 = CreateField(p, f, "著者(&A)", 52, 150);
  Author2 = CreateField(p, f, "(複数いる場合)", 78, 151);
  Date = CreateField(p, f, "日付(&D)", 104, 152);
  Thanks = CreateField(p, f, "謝辞(&H)", 130, 153);
  TitleExist = WithHelp(CreateCheckBox(p, f, "ﾀｲﾄﾙを入れる", 8, 162, 110, 20, kTitleExist), 154);
  TitlePage = WithHelp(CreateCheckBox(p, f, "ﾀｲﾄﾙﾍﾟｰｼﾞの指定", 124, 162, 130, 20, 0), 155);
  Contents = WithHelp(CreateCheckBox(p, f, "見出し目次の出力", 8, 188, 110, 20, 0), 156);
  FigContents = WithHelp(CreateCheckBox(p, f, "図目次の出力", 124, 188, 100, 20, 0), 157);
  TableContents = WithHelp(CreateCheckBox(p, f, "表目次の出力", 232, 188, 100, 20, 0), 158);
}

void TDocExpDlg::EnsureContents() {
  CenterOnScreen(hwnd());
  if (engine) {
    WizardEngine chosen = engine();
    usual_engine_ = EngineOfFormat(chosen.format_name);
    if (IsEngineBridge(chosen.command)) class_query_.Start(chosen.command, chosen.class_list_file);
  }
  OfferClasses();
  EnableWindow(NextBtn, TRUE);
  ShowPage(0);
  SetControlText(NextBtn, kNext);
  if (IsChecked(NoUse)) {
    SetChecked(NoUse, false);
    NoUseClick();
  }
  EnableWindow(BackBtn, FALSE);
  for (HWND field : {StrSize, PaperSize, OtherOpt, StyleExp, Title}) SetControlText(field, "");
  SetChecked(Useidx, false);
  SetChecked(TitlePage, false);
  for (int i = 0; i < 3; ++i) SetChecked(RadioGroup1[i], i == 1);
  result_ = kWizardCancelled;
}

// The list holds the offered classes, none selected; the engines and suggestions wait for
// a class to be chosen.
void TDocExpDlg::OfferClasses() {
  offered_ = OfferedClasses(installed_);
  SendMessageA(ListBox1, LB_RESETCONTENT, 0, 0);
  for (const OfferedClass& row : offered_) SendMessageA(ListBox1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.doc_class->name));
  for (HWND combo : {EngineBox, StrSize, PaperSize, OtherOpt}) SendMessageA(combo, CB_RESETCONTENT, 0, 0);
}

const OfferedClass* TDocExpDlg::SelectedClass() const {
  LRESULT index = SendMessageA(ListBox1, LB_GETCURSEL, 0, 0);
  return index >= 0 && static_cast<std::size_t>(index) < offered_.size() ? &offered_[static_cast<std::size_t>(index)] : nullptr;
}

DocChoices TDocExpDlg::Choices() const {
  DocChoices c;
  if (const OfferedClass* row = SelectedClass()) {
    c.style = row->doc_class->name;
    LRESULT engine_index = SendMessageA(EngineBox, CB_GETCURSEL, 0, 0);
    if (engine_index >= 0 && static_cast<std::size_t>(engine_index) < row->variants.size()) {
      c.engine = row->variants[static_cast<std::size_t>(engine_index)].engine;
    }
  }
  c.base_size = ControlText(StrSize);
  c.paper_size = ControlText(PaperSize);
  c.other_options = ControlText(OtherOpt);
  c.title_page = IsChecked(TitlePage);
  c.use_index = IsChecked(Useidx);
  c.title_exist = IsChecked(TitleExist);
  c.title = ControlText(Title);
  c.author1 = ControlText(Author1);
  c.author2 = ControlText(Author2);
  c.date = ControlText(Date);
  c.thanks = ControlText(Thanks);
  for (int i = 0; i < 3; ++i) {
    if (IsChecked(RadioGroup1[i])) c.page_style = kPageStyles[static_cast<std::size_t>(i)];
  }
  c.contents = IsChecked(Contents);
  c.figure_contents = IsChecked(FigContents);
  c.table_contents = IsChecked(TableContents);
  return c;
}

void TDocExpDlg::ShowPage(int index) {
  page_ = index;
  ShowWindow(Page1.hwnd(), index == 0 ? SW_SHOW : SW_HIDE);
  ShowWindow(Page2.hwnd(), index == 1 ? SW_SHOW : SW_HIDE);
  ShowWindow(Page3.hwnd(), index == 2 ? SW_SHOW : SW_HIDE);
  // The keys go on to the page shown, not to a control hidden with the page before.
  HWND page = (index == 0 ? Page1 : index == 1 ? Page2 : Page3).hwnd();
  if (HWND first = GetNextDlgTabItem(page, nullptr, FALSE); first && IsWindowVisible(hwnd())) SetFocus(first);
}

void TDocExpDlg::NoUseClick() {
  bool ticked = IsChecked(NoUse);
  EnableWindow(NoUseNext, ticked);
  if (!ticked) SetChecked(NoUseNext, false);
  SetControlText(NextBtn, ticked ? kFinish : kNext);
  result_ = ticked ? kWizardBlank : kWizardCancelled;
}

void TDocExpDlg::TitleExistClick() {
  bool ticked = IsChecked(TitleExist);
  if (!ticked) SetChecked(TitlePage, false);
  // Disabled fields take the button-face colour.
  for (HWND control : {TitlePage, Title, Author1, Author2, Date, Thanks}) EnableWindow(control, ticked);
}

void TDocExpDlg::NextBtnClick() {
  if (!IsWindowEnabled(NextBtn)) return;
  switch (page_) {
    case 0:
      if (result_ == kWizardBlank) return Close();
      if (class_query_.Pending()) {
        installed_ = class_query_.Finish(kClassListWaitMs);
        OfferClasses();
      }
      ShowPage(1);
      EnableWindow(BackBtn, TRUE);
      if (SendMessageA(ListBox1, LB_GETCURSEL, 0, 0) < 0) EnableWindow(NextBtn, FALSE);
      break;
    case 1:
      ShowPage(2);
      SetControlText(NextBtn, kFinish);
      break;
    default:
      result_ = kWizardSkeleton;
      Close();
      break;
  }
}

void TDocExpDlg::BackBtnClick() {
  if (page_ == 1) {
    ShowPage(0);
    EnableWindow(BackBtn, FALSE);
    EnableWindow(NextBtn, TRUE);
  } else if (page_ == 2) {
    ShowPage(1);
    SetControlText(NextBtn, kNext);
  }
}

// A chosen class shows its description, its engines (the chosen format's first when it is
// one of them) and the options it takes.
void TDocExpDlg::ListBox1Click() {
  const OfferedClass* row = SelectedClass();
  if (!row) return;
  EnableWindow(NextBtn, TRUE);
  SetControlText(StyleExp, ClassDescription(*row->doc_class));
  SendMessageA(EngineBox, CB_RESETCONTENT, 0, 0);
  int usual = 0;
  for (std::size_t i = 0; i < row->variants.size(); ++i) {
    SendMessageA(EngineBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(EngineMenuText(row->variants[i].engine)));
    if (row->variants[i].engine == usual_engine_) usual = static_cast<int>(i);
  }
  SendMessageA(EngineBox, CB_SETCURSEL, static_cast<WPARAM>(usual), 0);
  Suggest(StrSize, row->doc_class->sizes);
  Suggest(PaperSize, row->doc_class->papers);
  Suggest(OtherOpt, row->doc_class->others);
}

bool TDocExpDlg::FormCloseQuery() {
  if (result_ != kWizardCancelled) return true;
  MessageBeep(MB_ICONQUESTION);
  return messages_->Show(hwnd(), MsgKind::Confirmation, "文書作成ｳｨｻﾞｰﾄﾞを終了してもよろしいですか?",
                         kMsgYes | kMsgNo) == MsgResult::Yes;
}

void TDocExpDlg::Close() {
  if (FormCloseQuery()) EndModal(result_ == kWizardCancelled ? IDCANCEL : IDOK);
}

void TDocExpDlg::OnCommand(int id, int code) {
  switch (id) {
    case IDOK: NextBtnClick(); break;
    case IDCANCEL: Close(); break;
    case kBackBtn: BackBtnClick(); break;
    case kNoUse: NoUseClick(); break;
    case kTitleExist: TitleExistClick(); break;
    case kListBox1:
      if (code == LBN_SELCHANGE) ListBox1Click();
      break;
    default: break;
  }
}

LRESULT TDocExpDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      PaintWizardPicture(dc, kPictureX, kPictureY);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    default:
      return Form::HandleMessage(msg, wp, lp);
  }
}

}  // namespace quillet
