#include "app/help_window_win.h"

namespace quillet::help_window {

bool RegisterClassOnce(const char* class_name, WNDPROC proc, int background_color, UINT class_style) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, class_name, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = class_style;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(background_color);
  wc.lpszClassName = class_name;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace quillet::help_window
