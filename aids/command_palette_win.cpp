#include "aids/command_palette_win.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <set>
#include <string_view>

#include "win/code_page_win.h"
#include "win/controls_win.h"
#include "win/file_io_win.h"
#include "win/system_dll_win.h"

namespace quillet {

namespace {

constexpr int kSplitterHeight = 3;
constexpr UINT_PTR kRestackTimer = 1;
constexpr int kListId = 600;
// What a report cell adds to its text's width (the list view's margins).
constexpr int kCellPadding = 12;
// A find request by text: Windows' lists ask with LVFI_STRING, Wine's with LVFI_PARTIAL alone.
constexpr UINT kByText = LVFI_STRING | LVFI_PARTIAL;
// A command list is some tens of kilobytes; one far larger would hold up start-up for
// seconds while it is sorted (16 MB took 2.2 s under Wine).
constexpr std::uint64_t kCommandDbLimit = 4u << 20;

// The order of lstrcmpA, from keys made once: comparing keys byte by byte gives the
// same order as comparing the names with the platform's function, many times faster.
std::string NameKey(const std::string& name) {
  LCID locale = GetThreadLocale();
  int n = LCMapStringA(locale, LCMAP_SORTKEY, name.c_str(), -1, nullptr, 0);
  std::string key(static_cast<std::size_t>(std::max(n, 0)), '\0');
  if (n > 0) LCMapStringA(locale, LCMAP_SORTKEY, name.c_str(), -1, key.data(), n);
  return key;
}

bool NameBefore(const CommandEntry& a, const CommandEntry& b) { return a.name_key < b.name_key; }

bool SameEntry(const CommandEntry& a, const CommandEntry& b) {
  return a.name == b.name && a.kind == b.kind && a.field2 == b.field2 && a.description == b.description;
}

// The description pane reads like text, not like a field to type in.
WNDPROC rich_edit_proc = nullptr;
LRESULT CALLBACK ArrowCursorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETCURSOR && LOWORD(lp) == HTCLIENT) {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
  }
  return CallWindowProcA(rich_edit_proc, hwnd, msg, wp, lp);
}

void AppendText(HWND rich, const std::string& text, DWORD effects) {
  CHARFORMAT2A format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_BOLD | CFM_UNDERLINE;
  format.dwEffects = effects;
  SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  SendMessageA(rich, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

bool TInput::Create(HWND owner) {
  DWORD style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  // Made where the settings put it when they say nothing, so the usual start moves nothing.
  POINT place{GetSystemMetrics(SM_CXSCREEN) - kPaletteWidth,
              GetSystemMetrics(SM_CYSCREEN) - kPaletteHeight - kPaletteBottomGap};
  if (!CreateFormAt("TInput", "ｺﾏﾝﾄﾞ入力", place, {kPaletteWidth, kPaletteHeight}, style,
                    WS_EX_TOOLWINDOW | WS_EX_TOPMOST, owner)) {
    return false;
  }
  ListView1 = WithHelp(CreateControl(hwnd(),
                                     {.class_name = WC_LISTVIEWA,
                                      .style = WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                               LVS_SHOWSELALWAYS,
                                      .ex_style = WS_EX_CLIENTEDGE,
                                      .id = kListId},
                                     font()),
                       1032);
  AddListColumn(ListView1, 0, "ｺﾏﾝﾄﾞ名", 80);
  AddListColumn(ListView1, 1, "種類", kind_width_);
  DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
  SendMessageA(ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  if (!Panel1.Create(hwnd(), true)) return false;
  Panel1.on_mouse = [this](UINT msg, WPARAM keys, POINT at) { Panel1Mouse(msg, keys, at); };
  SystemFunction<void*>("riched20.dll", "CreateTextServices");  // registers RichEdit20A
  Memo = WithHelp(CreateControl(hwnd(),
                                {.class_name = RICHEDIT_CLASSA,
                                 .style = ES_MULTILINE | ES_READONLY | WS_VSCROLL,
                                 .ex_style = WS_EX_CLIENTEDGE},
                                font()),
                  1032);
  if (!ListView1 || !Memo) return false;
  rich_edit_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(Memo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ArrowCursorProc)));
  split_ = std::make_unique<TSplitControl>(hwnd(), ListView1);
  return true;
}

ReadStatus TInput::LoadCommands(const std::string& path) {
  TextBlock block;
  ReadStatus status = ReadFileBlock(path, block, kCommandDbLimit);
  if (status != ReadStatus::Ok) return status;
  commands_ = ParseCommandDb(std::string_view(block.data.get(), block.size));
  for (CommandEntry& entry : commands_) entry.name_key = NameKey(entry.name);
  std::stable_sort(commands_.begin(), commands_.end(), NameBefore);
  // The kinds get the room their widest needs; the names all the rest. A list has a few
  // kinds in many entries: each is measured once.
  std::set<std::string_view> kinds;
  for (const CommandEntry& entry : commands_) kinds.insert(entry.kind);
  kind_width_ = 0;
  for (std::string_view kind : kinds) {
    std::string text(kind);
    auto width = static_cast<int>(SendMessageA(ListView1, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
    kind_width_ = std::max(kind_width_, width + kCellPadding);
  }
  FitColumns();
  ShowCommands();
  return status;
}

void TInput::FitColumns() {
  RECT list;
  GetClientRect(ListView1, &list);
  SendMessageA(ListView1, LVM_SETCOLUMNWIDTH, 1, kind_width_);
  SendMessageA(ListView1, LVM_SETCOLUMNWIDTH, 0, std::max(kCellPadding, static_cast<int>(list.right) - kind_width_));
}

void TInput::ShowCommands() {
  // Setting the count redraws a visible list at once: not again for a sort.
  if (ListView_GetItemCount(ListView1) != static_cast<int>(commands_.size())) {
    SendMessageA(ListView1, LVM_SETITEMCOUNT, commands_.size(), 0);
  }
  InvalidateRect(ListView1, nullptr, TRUE);
  ListView1Change();
}

int TInput::Selected() const {
  auto i = static_cast<int>(SendMessageA(ListView1, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  return i >= 0 && static_cast<std::size_t>(i) < commands_.size() ? i : -1;
}

void TInput::FormResize() {
  RECT outer;
  GetWindowRect(hwnd(), &outer);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  if (width < kPaletteMinWidth || height < kPaletteMinHeight) {
    // Its WM_SIZE lays the controls out for the new size.
    SetWindowPos(hwnd(), nullptr, 0, 0, std::max(width, kPaletteMinWidth), std::max(height, kPaletteMinHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  RECT client;
  GetClientRect(hwnd(), &client);
  int list_height = std::min(client.bottom * list_ratio / 100, std::max(0L, client.bottom - kSplitterHeight));
  MoveWindow(ListView1, 0, 0, client.right, list_height, TRUE);
  FitColumns();
  MoveWindow(Panel1.hwnd(), 0, list_height, client.right, kSplitterHeight, TRUE);
  int memo_top = list_height + kSplitterHeight;
  MoveWindow(Memo, 0, memo_top, client.right, std::max(0, static_cast<int>(client.bottom) - memo_top), TRUE);
}

// "\" and the name in bold underlined type, the description under it.
void TInput::ListView1Change() {
  SetWindowTextA(Memo, "");
  int i = Selected();
  if (i < 0) return;
  const CommandEntry& entry = commands_[static_cast<std::size_t>(i)];
  SendMessageA(Memo, EM_SETREADONLY, FALSE, 0);  // a read-only rich edit refuses EM_REPLACESEL
  AppendText(Memo, "\\" + entry.name, CFE_BOLD | CFE_UNDERLINE);
  AppendText(Memo, "\r\n" + entry.description, 0);
  SendMessageA(Memo, EM_SETREADONLY, TRUE, 0);
  SendMessageA(Memo, EM_SETSEL, 0, 0);
}

void TInput::ListView1DblClick() { InsertSelected(GetKeyState(VK_SHIFT) < 0); }

// Types the command over the document's selection, and hands the keyboard back.
void TInput::InsertSelected(bool with_arguments) {
  int i = Selected();
  HWND editor = target_editor ? target_editor() : nullptr;
  if (i < 0 || !editor) return;
  const CommandEntry& entry = commands_[static_cast<std::size_t>(i)];
  CommandInsertion in = with_arguments ? WithArguments(entry) : CommandInsertion{std::string("\\").append(entry.name)};
  CHARRANGE at{};
  SendMessageA(editor, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&at));
  SendMessageA(editor, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(in.text.c_str()));
  if (in.placeholder_length) {
    auto start = static_cast<WPARAM>(at.cpMin) + in.placeholder;
    SendMessageA(editor, EM_SETSEL, start, static_cast<LPARAM>(start + in.placeholder_length));
  }
  SetActiveWindow(GetAncestor(editor, GA_ROOT));
  SetFocus(editor);
}

int TInput::FindTyped(const std::string& typed, int start) const {
  return FindCommandStartingWith(commands_, typed, static_cast<std::size_t>(std::max(start, 0)));
}

// Every click sorts ascending; the selected entry stays selected at its new place.
void TInput::ListView1ColumnClick(int column) {
  int selected = Selected();
  CommandEntry chosen = selected >= 0 ? commands_[static_cast<std::size_t>(selected)] : CommandEntry{};
  std::stable_sort(commands_.begin(), commands_.end(), column == 1 ? KindBefore : NameBefore);
  if (selected < 0) return ShowCommands();
  auto found = std::find_if(commands_.begin(), commands_.end(),
                            [&chosen](const CommandEntry& e) { return SameEntry(e, chosen); });
  auto index = static_cast<int>(found - commands_.begin());
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(ListView1, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
  SendMessageA(ListView1, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
  ShowCommands();
}

void TInput::Panel1Mouse(UINT msg, WPARAM keys, POINT at) {
  switch (msg) {
    case WM_LBUTTONDOWN: split_->MouseDown(Panel1.hwnd(), keys); break;
    case WM_MOUSEMOVE: split_->MouseMove(at); break;
    case WM_CAPTURECHANGED: split_->Cancel(); break;
    default:
      if (std::optional<int> list_height = split_->MouseUp()) {
        RECT client;
        GetClientRect(hwnd(), &client);
        int top = std::clamp(*list_height, 0, static_cast<int>(client.bottom));
        list_ratio = client.bottom > 0 ? std::clamp(top * 100 / static_cast<int>(client.bottom), 0, 100) : list_ratio;
        if (on_ratio) on_ratio(list_ratio);
        FormResize();
      }
      break;
  }
}

LRESULT TInput::OnNotify(const NMHDR& header, LPARAM lp) {
  if (header.hwndFrom != ListView1) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOA: {
      auto& item = reinterpret_cast<NMLVDISPINFOA*>(lp)->item;
      auto index = static_cast<std::size_t>(item.iItem);
      if (!(item.mask & LVIF_TEXT) || index >= commands_.size()) return 0;
      const CommandEntry& entry = commands_[index];
      const std::string* texts[] = {&entry.name, &entry.kind, &entry.field2, &entry.description};
      SetItemText(item, item.iSubItem >= 0 && item.iSubItem < 4 ? *texts[item.iSubItem] : std::string());
      break;
    }
    // Typed letters move to the first command that begins with them, as list views do.
    case LVN_ODFINDITEMA: {
      const auto& find = *reinterpret_cast<NMLVFINDITEMA*>(lp);
      return find.lvfi.flags & kByText && find.lvfi.psz ? FindTyped(find.lvfi.psz, find.iStart) : -1;
    }
    case LVN_ODFINDITEMW: {
      const auto& find = *reinterpret_cast<NMLVFINDITEMW*>(lp);
      return find.lvfi.flags & kByText && find.lvfi.psz ? FindTyped(AnsiFromWide(find.lvfi.psz), find.iStart) : -1;
    }
    case LVN_GETINFOTIPA: ShowWholeName(*reinterpret_cast<NMLVGETINFOTIPA*>(lp)); break;
    case LVN_ITEMCHANGED: ListView1Change(); break;
    case NM_DBLCLK:
    case NM_RETURN: ListView1DblClick(); break;
    case LVN_COLUMNCLICK: ListView1ColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem); break;
    default: break;
  }
  return 0;
}

// A name its column cuts shows whole in the list's tip.
void TInput::ShowWholeName(NMLVGETINFOTIPA& tip) const {
  auto index = static_cast<std::size_t>(tip.iItem);
  if (index >= commands_.size() || tip.cchTextMax <= 0) return;
  const std::string& name = commands_[index].name;
  auto width = static_cast<int>(SendMessageA(ListView1, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(name.c_str())));
  if (width + kCellPadding > ListView_GetColumnWidth(ListView1, 0)) lstrcpynA(tip.pszText, name.c_str(), tip.cchTextMax);
}

LRESULT TInput::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize = {kPaletteMinWidth, kPaletteMinHeight};
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lp), lp);
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) SetFocus(ListView1);
      return 0;
    case WM_SHOWWINDOW:
      if (on_visibility) on_visibility(wp != FALSE);
      // Under Wine a floating window shown during start-up can end up drawn below the
      // main window that is activated just after it; it takes its place again shortly.
      if (wp && !restacked_) SetTimer(hwnd(), kRestackTimer, 500, nullptr);
      break;
    case WM_TIMER:
      if (wp == kRestackTimer) {
        KillTimer(hwnd(), kRestackTimer);
        restacked_ = true;
        RaiseFloatingWindow(hwnd());
        return 0;
      }
      break;
    default:
      break;
  }
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
