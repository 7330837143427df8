#include "aids/section_dialog_win.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <string>

#include "editor/editor_win.h"
#include "win/controls_win.h"
#include "win/message_loop_win.h"

namespace quillet {

namespace {

enum : int { kListView = 500, kButton3, kStopBtn };
constexpr UINT kStartScanMessage = WM_APP + 10;
constexpr DWORD kYieldMs = 10;

}  // namespace

bool TSectionDlg::Create() {
  if (!CreateForm("TSectionDlg", "見出しの検索", 394, 225,
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
                  WS_EX_CONTEXTHELP)) {
    return false;
  }
  return true;
}

void TSectionDlg::BuildContents() {
  HFONT f = font();
  Label1 = CreateLabel(hwnd(), f, "見出し一覧", 8, 8, 120, 14);
  SectionNum = CreateControl(hwnd(), {.class_name = "STATIC", .style = SS_RIGHT}, f);
  ListView = WithHelp(CreateControl(hwnd(),
                                    {.class_name = WC_LISTVIEWA,
                                     .style = WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                                     .ex_style = WS_EX_CLIENTEDGE,
                                     .id = kListView},
                                    f),
                      131);
  SendMessageA(ListView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddListColumn(ListView, 0, "名前", 200);
  AddListColumn(ListView, 1, "種類", 90);
  AddListColumn(ListView, 2, "行", 50);
  Button1 = WithHelp(CreateButton(hwnd(), f, "ｼﾞｬﾝﾌﾟ(&J)", 0, 0, 80, 25, IDOK, true), 130);
  Button2 = WithHelp(CreateButton(hwnd(), f, "ｷｬﾝｾﾙ", 0, 0, 80, 25, IDCANCEL), 136);
  Button3 = WithHelp(CreateButton(hwnd(), f, "ﾍﾙﾌﾟ(&H)", 0, 0, 80, 25, kButton3), 78);
  EnableWindow(Button1, FALSE);
  Panel.Create(hwnd(), RECT{0, 0, 394, 225});
  Label2 = CreateLabel(Panel.hwnd(), f, "しばらくお待ち下さい...", 0, 0, 200, 14);
  ProgressBar = WithHelp(CreateControl(Panel.hwnd(), {.class_name = PROGRESS_CLASSA}, f), 161);
  SendMessageA(ProgressBar, PBM_SETRANGE32, 0, 100);
  StopBtn = WithHelp(CreateButton(Panel.hwnd(), f, "中断", 0, 0, 80, 25, kStopBtn), 162);
  Layout();
}

void TSectionDlg::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int w = client.right, h = client.bottom, buttons_x = w - 88;
  MoveWindow(SectionNum, buttons_x - 120, 8, 112, 14, TRUE);
  MoveWindow(ListView, 8, 26, std::max(0, buttons_x - 16), std::max(0, h - 34), TRUE);
  MoveWindow(Button1, buttons_x, 26, 80, 25, TRUE);
  MoveWindow(Button2, buttons_x, 57, 80, 25, TRUE);
  MoveWindow(Button3, buttons_x, 88, 80, 25, TRUE);
  MoveWindow(Panel.hwnd(), 0, 0, w, h, TRUE);
  MoveWindow(Label2, (w - 200) / 2, h / 2 - 36, 200, 14, TRUE);
  MoveWindow(ProgressBar, 40, h / 2 - 14, std::max(0, w - 80), 18, TRUE);
  MoveWindow(StopBtn, (w - 80) / 2, h / 2 + 14, 80, 25, TRUE);
}

int TSectionDlg::DefaultButtonId() const { return scanning_ ? kStopBtn : IDOK; }

// Every showing scans once, after its activation has been handled.
void TSectionDlg::EnsureContents() { scan_pending_ = true; }

void TSectionDlg::FormActivate() {
  if (scan_pending_ && !scanning_) PostMessageA(hwnd(), kStartScanMessage, 0, 0);
  scan_pending_ = false;
}

void TSectionDlg::PumpDuringScan() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      StopBtnClick();
      return;
    }
    HandleQueuedMessage(hwnd(), msg);
  }
}

// Keyword by keyword: every place each one stands, in a comment or inside a longer
// control word too, with the title after it; then the rows in document order.
void TSectionDlg::Scan() {
  if (!editor_) return;
  scanning_ = true;
  SendMessageA(ProgressBar, PBM_SETPOS, 0, 0);
  ShowWindow(Panel.hwnd(), SW_SHOW);
  SetFocus(StopBtn);
  rows_.clear();
  ShowRows();
  PumpDuringScan();
  // The text is read in place; it cannot change while this modal dialog is up.
  BufferHeadingSource text(*reinterpret_cast<const TextBuffer*>(SendMessageA(editor_, EM_GETTEXTBUFFER, 0, 0)));
  DWORD yielded = GetTickCount();
  for (scan_keyword_ = 0; scan_keyword_ < std::size(kHeadingKeywords); ++scan_keyword_) {
    std::string_view keyword = kHeadingKeywords[scan_keyword_];
    SendMessageA(ProgressBar, PBM_SETPOS, (scan_keyword_ + 1) * 14, 0);
    for (scan_position_ = 0;;) {
      std::size_t at = scan_position_ <= text.Length() ? text.Find(keyword, scan_position_) : std::string_view::npos;
      if (at == std::string_view::npos) break;
      scan_position_ = at + keyword.size();
      LRESULT line = SendMessageA(editor_, EM_LINEFROMCHAR, at, 0) + 1;
      rows_.push_back({HeadingTitle(text, scan_position_), std::string(keyword), std::to_string(line)});
      // The stop button and the rest of the program get their turn every few milliseconds.
      if (GetTickCount() - yielded >= kYieldMs) {
        PumpDuringScan();
        yielded = GetTickCount();
      }
    }
  }
  std::stable_sort(rows_.begin(), rows_.end(), LineBefore);
  ShowRows();
  SendMessageA(ProgressBar, PBM_SETPOS, 100, 0);
  ShowWindow(Panel.hwnd(), SW_HIDE);
  scanning_ = false;
  SetFocus(ListView);
}

// The scan under way finds nothing more, and no further keyword is scanned.
void TSectionDlg::StopBtnClick() {
  scan_keyword_ = std::size(kHeadingKeywords) - 1;
  scan_position_ = static_cast<std::size_t>(-1);
}

void TSectionDlg::ShowRows() {
  SendMessageA(ListView, LVM_SETITEMCOUNT, rows_.size(), 0);
  InvalidateRect(ListView, nullptr, TRUE);
  SetControlText(SectionNum, std::to_string(rows_.size()) + " 項目");
  ListViewChange();
}

void TSectionDlg::ListViewChange() {
  EnableWindow(Button1, SendMessageA(ListView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) >= 0);
}

void TSectionDlg::Button1Click() {
  LRESULT selected = SendMessageA(ListView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  if (selected < 0 || static_cast<std::size_t>(selected) >= rows_.size()) return;
  const HeadingRow& row = rows_[static_cast<std::size_t>(selected)];
  EndModal(IDCANCEL);
  LRESULT start = SendMessageA(editor_, EM_LINEINDEX, static_cast<WPARAM>(LineNumberOf(row) - 1), 0);
  SendMessageA(editor_, EM_SETSEL, static_cast<WPARAM>(start), start + static_cast<LPARAM>(row.kind.size()));
}

// Every click sorts ascending by the clicked column.
void TSectionDlg::ListViewColumnClick(int column) {
  if (column == 2) {
    std::stable_sort(rows_.begin(), rows_.end(), LineBefore);
  } else if (column == 1) {
    std::stable_sort(rows_.begin(), rows_.end(), KindBefore);
  } else {
    std::stable_sort(rows_.begin(), rows_.end(),
                     [](const HeadingRow& a, const HeadingRow& b) { return lstrcmpA(a.title.c_str(), b.title.c_str()) < 0; });
  }
  LVITEMA none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(ListView, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  ShowRows();
}

void TSectionDlg::OnNotify(const NMHDR& header, LPARAM lp) {
  if (header.hwndFrom != ListView) return;
  switch (header.code) {
    case LVN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(lp);
      auto index = static_cast<std::size_t>(info->item.iItem);
      if (!(info->item.mask & LVIF_TEXT) || index >= rows_.size()) return;
      const HeadingRow& row = rows_[index];
      const std::string& text = info->item.iSubItem == 0 ? row.title : info->item.iSubItem == 1 ? row.kind : row.line;
      SetItemText(info->item, text);
      break;
    }
    case LVN_ITEMCHANGED: ListViewChange(); break;
    case NM_DBLCLK: Button1Click(); break;
    case LVN_COLUMNCLICK: ListViewColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem); break;
    default: break;
  }
}

LRESULT TSectionDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kStartScanMessage:
      Scan();
      return 0;
    case WM_CLOSE:
      StopBtnClick();
      break;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<NMHDR*>(lp), lp);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK: Button1Click(); break;
        case IDCANCEL:
          StopBtnClick();
          EndModal(IDCANCEL);
          break;
        case kButton3: RequestHelp(hwnd(), HELP_CONTEXTPOPUP, 159); break;
        case kStopBtn: StopBtnClick(); break;
        default: break;
      }
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
