#pragma once
// Child controls created from small argument records, all with the form's font.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>

namespace quillet {

struct ControlArgs {
  const char* class_name;
  const char* text = "";
  int x = 0, y = 0, width = 0, height = 0;
  DWORD style = 0;  // added to WS_CHILD | WS_VISIBLE
  DWORD ex_style = 0;
  int id = 0;
  bool visible = true;
  bool enabled = true;
};

// Creates a control; null when the platform refuses.
HWND CreateControl(HWND parent, const ControlArgs& args, HFONT font);

HWND CreateButton(HWND parent, HFONT font, const char* text, int x, int y, int w, int h, int id,
                  bool is_default = false);
HWND CreateCheckBox(HWND parent, HFONT font, const char* text, int x, int y, int w, int h, int id);
HWND CreateLabel(HWND parent, HFONT font, const char* text, int x, int y, int w, int h);
HWND CreateGroupBox(HWND parent, HFONT font, const char* text, int x, int y, int w, int h);
HWND CreateEditBox(HWND parent, HFONT font, int x, int y, int w, int h, int id, DWORD style = ES_AUTOHSCROLL);
// A list box that notifies its parent of selections and double-clicks; tab_stop false
// leaves it out of the Tab order.
HWND CreateListBox(HWND parent, HFONT font, int x, int y, int w, int h, int id, bool tab_stop = true);
// A combo box of the given kind (CBS_DROPDOWN: free text, CBS_DROPDOWNLIST: choice only);
// h is the height with the list dropped down.
HWND CreateComboBox(HWND parent, HFONT font, int x, int y, int w, int h, int id, DWORD kind = CBS_DROPDOWN);

// Gives a control its help context (the topic F1 and the title bar's "?" show); returns it.
HWND WithHelp(HWND control, DWORD context);

// The button row of a settings dialog, "OK" (default), "ｷｬﾝｾﾙ", "更新(&A)" (disabled until
// a page is edited) and "ﾍﾙﾌﾟ", from x on, with their help numbers 75 to 78.
struct SettingsButtons {
  HWND ok = nullptr, cancel = nullptr, apply = nullptr, help = nullptr;
};
SettingsButtons CreateSettingsButtons(HWND owner, HFONT font, int x, int y, int apply_id, int help_id);

// Appends a column to a report-style list view.
void AddListColumn(HWND list, int index, const char* caption, int width);
// Answers a virtual list's request for an item's text, cut at a character boundary when
// the list's buffer is shorter.
void SetItemText(LVITEMA& item, std::string_view text);

std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);
bool IsChecked(HWND check_box);
void SetChecked(HWND check_box, bool checked);

}  // namespace quillet
