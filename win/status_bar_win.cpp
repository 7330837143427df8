#include "win/status_bar_win.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "win/window_win.h"

namespace quillet {

bool StatusBar::Create(HWND parent, std::initializer_list<int> widths, int height, HFONT font) {
  hwnd_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent, nullptr,
                          AppInstance(), nullptr);
  if (!hwnd_) return false;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  std::vector<int> edges;
  int right = 0;
  for (int w : widths) edges.push_back(right += w);
  panels_ = static_cast<int>(edges.size());
  SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  // The control adds its borders to the minimum height.
  SendMessageA(hwnd_, SB_SETMINHEIGHT, height - 2 * GetSystemMetrics(SM_CYBORDER), 0);
  Layout();
  return true;
}

int StatusBar::height() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}

void StatusBar::SetText(int panel, const std::string& text) {
  if (panel < 0 || panel >= panels_) return;
  SendMessageA(hwnd_, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::Text(int panel) const {
  int n = LOWORD(SendMessageA(hwnd_, SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0));
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  SendMessageA(hwnd_, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<std::size_t>(n));
  return s;
}

void StatusBar::Repaint() {
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void StatusBar::Layout() { SendMessageA(hwnd_, WM_SIZE, 0, 0); }

}  // namespace quillet
