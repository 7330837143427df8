#include "win/controls_win.h"

#include <cstring>

#include "core/sjis.h"
#include "win/window_win.h"

namespace quillet {

HWND CreateControl(HWND parent, const ControlArgs& args, HFONT font) {
  DWORD style = WS_CHILD | args.style | (args.visible ? WS_VISIBLE : 0) | (args.enabled ? 0 : WS_DISABLED);
  HWND h = CreateWindowExA(args.ex_style, args.class_name, args.text, style, args.x, args.y, args.width,
                           args.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                           AppInstance(), nullptr);
  if (h && font) SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return h;
}

HWND CreateButton(HWND parent, HFONT font, const char* text, int x, int y, int w, int h, int id, bool is_default) {
  return CreateControl(parent,
                       {.class_name = "BUTTON", .text = text, .x = x, .y = y, .width = w, .height = h,
                        .style = static_cast<DWORD>(WS_TABSTOP | (is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                        .id = id},
                       font);
}

HWND CreateCheckBox(HWND parent, HFONT font, const char* text, int x, int y, int w, int h, int id) {
  return CreateControl(parent,
                       {.class_name = "BUTTON", .text = text, .x = x, .y = y, .width = w, .height = h,
                        .style = WS_TABSTOP | BS_AUTOCHECKBOX, .id = id},
                       font);
}

HWND CreateLabel(HWND parent, HFONT font, const char* text, int x, int y, int w, int h) {
  return CreateControl(parent,
                       {.class_name = "STATIC", .text = text, .x = x, .y = y, .width = w, .height = h,
                        .style = SS_LEFT},
                       font);
}

HWND CreateGroupBox(HWND parent, HFONT font, const char* text, int x, int y, int w, int h) {
  return CreateControl(parent,
                       {.class_name = "BUTTON", .text = text, .x = x, .y = y, .width = w, .height = h,
                        .style = BS_GROUPBOX},
                       font);
}

HWND CreateEditBox(HWND parent, HFONT font, int x, int y, int w, int h, int id, DWORD style) {
  return CreateControl(parent,
                       {.class_name = "EDIT", .x = x, .y = y, .width = w, .height = h,
                        .style = WS_TABSTOP | style, .ex_style = WS_EX_CLIENTEDGE, .id = id},
                       font);
}

HWND CreateListBox(HWND parent, HFONT font, int x, int y, int w, int h, int id, bool tab_stop) {
  return CreateControl(parent,
                       {.class_name = "LISTBOX", .x = x, .y = y, .width = w, .height = h,
                        .style = static_cast<DWORD>((tab_stop ? WS_TABSTOP : 0) | WS_VSCROLL | LBS_NOTIFY |
                                                    LBS_NOINTEGRALHEIGHT),
                        .ex_style = WS_EX_CLIENTEDGE, .id = id},
                       font);
}

HWND CreateComboBox(HWND parent, HFONT font, int x, int y, int w, int h, int id, DWORD kind) {
  return CreateControl(parent,
                       {.class_name = "COMBOBOX", .x = x, .y = y, .width = w, .height = h,
                        .style = WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | kind, .id = id},
                       font);
}

HWND WithHelp(HWND control, DWORD context) {
  SetWindowContextHelpId(control, context);
  return control;
}

void AddListColumn(HWND list, int index, const char* caption, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(caption);
  column.cx = width;
  SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetItemText(LVITEMA& item, std::string_view text) {
  if (item.cchTextMax <= 0) return;
  std::string_view shown = CutToBytes(text, static_cast<std::size_t>(item.cchTextMax - 1));
  std::memcpy(item.pszText, shown.data(), shown.size());
  item.pszText[shown.size()] = '\0';
}

std::string ControlText(HWND control) {
  int n = GetWindowTextLengthA(control);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  n = GetWindowTextA(control, s.data(), n + 1);
  s.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return s;
}

void SetControlText(HWND control, const std::string& text) { SetWindowTextA(control, text.c_str()); }

bool IsChecked(HWND check_box) { return SendMessageA(check_box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND check_box, bool checked) {
  SendMessageA(check_box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

SettingsButtons CreateSettingsButtons(HWND owner, HFONT font, int x, int y, int apply_id, int help_id) {
  SettingsButtons row;
  row.ok = WithHelp(CreateButton(owner, font, "OK", x, y, 78, 25, IDOK, true), 75);
  row.cancel = WithHelp(CreateButton(owner, font, "ｷｬﾝｾﾙ", x + 84, y, 78, 25, IDCANCEL), 76);
  row.apply = WithHelp(CreateButton(owner, font, "更新(&A)", x + 168, y, 78, 25, apply_id), 77);
  row.help = WithHelp(CreateButton(owner, font, "ﾍﾙﾌﾟ", x + 252, y, 78, 25, help_id), 78);
  EnableWindow(row.apply, FALSE);
  return row;
}

}  // namespace quillet
