#include "win/status_bar_win.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <vector>

#include "win/window_win.h"

namespace quillet {

bool StatusBar::Create(HWND parent, std::initializer_list<int> widths, int height, HFONT font) {
  // Placed by Layout at its own height, not the height the control would pick.
  hwnd_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | SBARS_SIZEGRIP,
                          0, 0, 0, 0, parent, nullptr, AppInstance(), nullptr);
  if (!hwnd_) return false;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  std::vector<int> edges;
  int right = 0;
  for (int w : widths) edges.push_back(right += w);
  panels_ = static_cast<int>(edges.size());
  SendMessageA(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
  height_ = height;
  Layout();
  return true;
}


void StatusBar::SetText(int panel, const std::string& text) {
  if (panel < 0 || panel >= panels_) return;
  SendMessageA(hwnd_, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::Text(int panel) const {
  // The length the control reports counts characters, not bytes: ask with room to spare.
  int n = LOWORD(SendMessageA(hwnd_, SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0));
  std::string s(static_cast<std::size_t>(n) * 2 + 2, '\0');
  SendMessageA(hwnd_, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(s.data()));
  s.resize(std::strlen(s.c_str()));
  return s;
}

void StatusBar::Repaint() {
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void StatusBar::Layout() {
  RECT parent;
  GetClientRect(GetParent(hwnd_), &parent);
  MoveWindow(hwnd_, 0, parent.bottom - height_, parent.right, height_, TRUE);
}

}  // namespace quillet
