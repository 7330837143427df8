#include "win/page_control_win.h"

#include <windows.h>
#include <commctrl.h>

namespace quillet {

bool TabPage::Create(HWND owner, const RECT& area) {
  return CreateWin({.class_name = "QuilletTabPage",
                    .style = WS_CHILD | WS_CLIPSIBLINGS,
                    .ex_style = WS_EX_CONTROLPARENT,
                    .x = area.left,
                    .y = area.top,
                    .width = area.right - area.left,
                    .height = area.bottom - area.top,
                    .parent = owner});
}

LRESULT TabPage::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return SendMessageA(GetParent(hwnd()), msg, wp, lp);
    default:
      return Window::HandleMessage(msg, wp, lp);
  }
}

bool PageControl::Create(HWND owner, HFONT font, int x, int y, int w, int h, int id,
                         const std::vector<const char*>& captions, DWORD extra_style) {
  tab_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | extra_style, x,
                         y, w, h,
                         owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), AppInstance(), nullptr);
  if (!tab_) return false;
  SendMessageA(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(captions[i]);
    SendMessageA(tab_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  RECT area{0, 0, w, h};
  SendMessageA(tab_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  OffsetRect(&area, x, y);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    pages_.push_back(std::make_unique<TabPage>());
    if (!pages_.back()->Create(owner, area)) return false;
    // Pages lie above the tab control so they receive the clicks.
    SetWindowPos(pages_.back()->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ShowSelected();
  return true;
}

int PageControl::active() const { return static_cast<int>(SendMessageA(tab_, TCM_GETCURSEL, 0, 0)); }

void PageControl::SetActive(int index) {
  SendMessageA(tab_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  ShowSelected();
}

void PageControl::ShowSelected() {
  int selected = active();
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    ShowWindow(pages_[i]->hwnd(), static_cast<int>(i) == selected ? SW_SHOW : SW_HIDE);
  }
}

}  // namespace quillet
