#include "aids/macro_dialog_win.h"

#include <windows.h>

#include <algorithm>

#include "aids/macro_files.h"
#include "win/controls_win.h"
#include "win/file_io_win.h"
#include "win/handles_win.h"

namespace quillet {

namespace {

enum : int { kListBox = 600, kButton4 };

struct FindTraits {
  static HANDLE Null() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
using FindHandle = Owned<HANDLE, FindTraits>;

// The first bytes of a file, as many as the header test needs.
std::string FirstBytes(const std::string& path) {
  FileHandle in(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr));
  std::string bytes(kMacroHeaderBytes, '\0');
  DWORD got = 0;
  if (!in || !ReadFile(in.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return {};
  bytes.resize(got);
  return bytes;
}

}  // namespace

bool TMacroDlg::Create() {
  if (!CreateForm("TMacroDlg", "定型ﾏｸﾛの挿入", 486, 206,
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
                  WS_EX_CONTEXTHELP)) {
    return false;
  }
  return true;
}

void TMacroDlg::BuildContents() {
  HFONT f = font();
  Label1 = CreateLabel(hwnd(), f, "ﾏｸﾛのﾘｽﾄ(&L)", 8, 8, 150, 14);
  ListBox = WithHelp(CreateControl(hwnd(),
                                   {.class_name = "LISTBOX",
                                    .style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                    .ex_style = WS_EX_CLIENTEDGE,
                                    .id = kListBox},
                                   f),
                     133);
  Label3 = CreateLabel(hwnd(), f, "題名", 0, 0, 40, 14);
  Title = WithHelp(CreateControl(hwnd(), {.class_name = "EDIT", .style = ES_READONLY | ES_AUTOHSCROLL}, f), 134);
  Label2 = CreateLabel(hwnd(), f, "ﾏｸﾛの内容", 0, 0, 120, 14);
  Memo = WithHelp(CreateControl(hwnd(),
                                {.class_name = "EDIT",
                                 .style = WS_TABSTOP | ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                                 .ex_style = WS_EX_CLIENTEDGE},
                                f),
                  135);
  Button1 = WithHelp(CreateButton(hwnd(), f, "挿入(&I)", 0, 0, 80, 25, IDOK, true), 132);
  Button2 = WithHelp(CreateButton(hwnd(), f, "ｷｬﾝｾﾙ", 0, 0, 80, 25, IDCANCEL), 136);
  Button4 = WithHelp(CreateButton(hwnd(), f, "ﾍﾙﾌﾟ(&H)", 0, 0, 80, 25, kButton4), 78);
  Layout();
}

void TMacroDlg::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int w = client.right, h = client.bottom, buttons_x = w - 88, text_x = 166;
  MoveWindow(ListBox, 8, 24, 150, std::max(0, h - 32), TRUE);
  MoveWindow(Label3, text_x, 8, 40, 14, TRUE);
  MoveWindow(Title, text_x + 40, 8, std::max(0, buttons_x - text_x - 48), 14, TRUE);
  MoveWindow(Label2, text_x, 28, 120, 14, TRUE);
  MoveWindow(Memo, text_x, 44, std::max(0, buttons_x - text_x - 8), std::max(0, h - 52), TRUE);
  MoveWindow(Button1, buttons_x, 24, 80, 25, TRUE);
  MoveWindow(Button2, buttons_x, 55, 80, 25, TRUE);
  MoveWindow(Button4, buttons_x, 86, 80, 25, TRUE);
}

void TMacroDlg::Prepare(const std::string& macro_path, HWND editor) {
  folder_ = MacroFolder(macro_path);
  editor_ = editor;
}

// Every showing lists the folder afresh, once its activation has been handled.
void TMacroDlg::EnsureContents() { list_pending_ = true; }

void TMacroDlg::FormActivate() {
  if (list_pending_) FillList();
  list_pending_ = false;
  SetFocus(ListBox);
}

// The files of the folder named "*.tex" whose first bytes are the header, in the order the
// folder lists them; only the header's bytes of each are read.
void TMacroDlg::FillList() {
  SendMessageA(ListBox, LB_RESETCONTENT, 0, 0);
  SetControlText(Title, "");
  SetControlText(Memo, "");
  body_.clear();
  WIN32_FIND_DATAA found;
  FindHandle search(FindFirstFileA((folder_ + "*.tex").c_str(), &found));
  for (bool more = static_cast<bool>(search); more; more = FindNextFileA(search.get(), &found)) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (IsMacroFile(FirstBytes(folder_ + found.cFileName))) {
      SendMessageA(ListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
    }
  }
  EnableWindow(Button1, FALSE);
}

void TMacroDlg::ListBoxClick() {
  LRESULT index = SendMessageA(ListBox, LB_GETCURSEL, 0, 0);
  if (index < 0) return;
  std::string name(static_cast<std::size_t>(SendMessageA(ListBox, LB_GETTEXTLEN, index, 0)) + 1, '\0');
  name.resize(static_cast<std::size_t>(SendMessageA(ListBox, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name.data()))));
  TextBlock block;
  ReadFileBlock(folder_ + name, block, kMacroLimit * 16);
  Macro macro = ParseMacro(std::string_view(block.data.get(), block.size));
  SetControlText(Title, macro.title);
  body_ = std::move(macro.body);
  SetControlText(Memo, body_);
  EnableWindow(Button1, TRUE);
}

// The body and one empty line before the caret's line, the body selected.
void TMacroDlg::Button1Click() {
  if (!IsWindowEnabled(Button1)) return;
  EndModal(IDOK);
  LRESULT start = SendMessageA(editor_, EM_LINEINDEX, static_cast<WPARAM>(-1), 0);
  SendMessageA(editor_, EM_SETSEL, static_cast<WPARAM>(start), start);
  std::string text = body_ + "\r\n";
  SendMessageA(editor_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(editor_, EM_SETSEL, static_cast<WPARAM>(start), start + static_cast<LPARAM>(body_.size()));
}

LRESULT TMacroDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_CTLCOLORSTATIC:
      // The title is read-only text on the button face, as a label.
      if (reinterpret_cast<HWND>(lp) == Title) {
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case kListBox:
          if (HIWORD(wp) == LBN_SELCHANGE) ListBoxClick();
          if (HIWORD(wp) == LBN_DBLCLK) Button1Click();
          break;
        case IDOK: Button1Click(); break;
        case IDCANCEL: EndModal(IDCANCEL); break;
        case kButton4: RequestHelp(hwnd(), HELP_CONTEXTPOPUP, 160); break;
        default: break;
      }
      return 0;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
