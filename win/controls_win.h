#pragma once
// Child controls created from small argument records, all with the form's font.
#include <windows.h>

#include <string>

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

std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);
bool IsChecked(HWND check_box);
void SetChecked(HWND check_box, bool checked);

}  // namespace quillet
