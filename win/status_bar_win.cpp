#include "win/status_bar_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "win/handles_win.h"

namespace quillet {

namespace {
constexpr int kGripSize = 14;
constexpr int kTextInset = 3;  // each side, inside the panel's edge
}  // namespace

bool StatusBar::Create(HWND parent, std::initializer_list<int> widths, int height, HFONT font) {
  int right = 0;
  for (int w : widths) edges_.push_back(right += w);
  texts_.assign(edges_.size(), "");
  height_ = height;
  font_ = font;
  if (!CreateWin({.class_name = "QuilletStatusBar",
                  .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                  .parent = parent,
                  .class_style = CS_HREDRAW})) {
    return false;
  }
  Layout();
  return true;
}

int PanelWidthFor(HFONT font, const std::string& widest, int at_least) {
  WindowDc dc(nullptr);
  SelectIn selected(dc.get(), font);
  SIZE size{};
  GetTextExtentPoint32A(dc.get(), widest.data(), static_cast<int>(widest.size()), &size);
  // The panel's right edge lies 2 pixels inside its width.
  return std::max(at_least, static_cast<int>(size.cx) + 2 * kTextInset + 2);
}

int StatusBar::TextRoom(int panel) const {
  RECT r = PanelRect(panel);
  return r.right - r.left - 2 * kTextInset;
}

RECT StatusBar::PanelRect(int panel) const {
  int left = panel == 0 ? 0 : edges_[static_cast<std::size_t>(panel - 1)];
  return RECT{left, 2, edges_[static_cast<std::size_t>(panel)] - 2, height_};
}

void StatusBar::SetText(int panel, const std::string& text) {
  if (panel < 0 || panel >= static_cast<int>(texts_.size())) return;
  std::string& shown = texts_[static_cast<std::size_t>(panel)];
  if (shown == text) return;
  shown = text;
  RECT r = PanelRect(panel);
  UnionRect(&dirty_, &dirty_, &r);
  InvalidateRect(hwnd(), &r, FALSE);
}

std::string StatusBar::Text(int panel) const {
  return panel >= 0 && panel < static_cast<int>(texts_.size()) ? texts_[static_cast<std::size_t>(panel)] : "";
}

// Through the window's DC at once: under Wine a paint through WM_PAINT costs several
// times as much, and typing asks for this after every key.
void StatusBar::Repaint() {
  if (IsRectEmpty(&dirty_) || !IsWindowVisible(hwnd())) return;
  RECT dirty = std::exchange(dirty_, RECT{});
  WindowDc dc(hwnd());
  Paint(dc.get(), dirty);
  ValidateRect(hwnd(), &dirty);
}

void StatusBar::Layout() {
  RECT parent;
  GetClientRect(GetParent(hwnd()), &parent);
  MoveWindow(hwnd(), 0, parent.bottom - height_, parent.right, height_, TRUE);
}

void StatusBar::Paint(HDC dc, const RECT& dirty) {
  RECT client;
  GetClientRect(hwnd(), &client);
  FillRect(dc, &dirty, GetSysColorBrush(COLOR_BTNFACE));
  SelectIn font(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (int i = 0; i < static_cast<int>(texts_.size()); ++i) {
    RECT panel = PanelRect(i);
    RECT overlap;
    if (!IntersectRect(&overlap, &panel, &dirty)) continue;
    DrawEdge(dc, &panel, BDR_SUNKENOUTER, BF_RECT);
    RECT text = panel;
    InflateRect(&text, -kTextInset, -1);
    const std::string& s = texts_[static_cast<std::size_t>(i)];
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  RECT grip{client.right - kGripSize, client.bottom - kGripSize, client.right, client.bottom}, overlap;
  if (!IsZoomed(GetParent(hwnd())) && IntersectRect(&overlap, &grip, &dirty)) {
    DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

LRESULT StatusBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      Paint(dc, ps.rcPaint);
      EndPaint(hwnd(), &ps);
      dirty_ = RECT{};
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_NCHITTEST: {
      // The grip sizes the main window: the press goes on to it.
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(hwnd(), &p);
      RECT client;
      GetClientRect(hwnd(), &client);
      if (!IsZoomed(GetParent(hwnd())) && p.x >= client.right - kGripSize && p.y >= client.bottom - kGripSize) {
        return HTBOTTOMRIGHT;
      }
      break;
    }
    case WM_NCLBUTTONDOWN:
      if (wp == HTBOTTOMRIGHT) {
        PostMessageA(GetParent(hwnd()), msg, wp, lp);
        return 0;
      }
      break;
    case SB_GETPARTS: {
      auto* out = reinterpret_cast<int*>(lp);
      for (std::size_t i = 0; out && i < edges_.size() && i < wp; ++i) out[i] = edges_[i];
      return static_cast<LRESULT>(edges_.size());
    }
    case SB_GETTEXTLENGTHA:
      return static_cast<LRESULT>(Text(static_cast<int>(wp)).size());
    case SB_GETTEXTA: {
      std::string s = Text(static_cast<int>(wp));
      std::memcpy(reinterpret_cast<char*>(lp), s.c_str(), s.size() + 1);
      return static_cast<LRESULT>(s.size());
    }
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace quillet
