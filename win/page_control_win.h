#pragma once
// A tab control whose pages are child windows holding their own controls. The pages pass
// their controls' notifications on to the window that owns the tab control.
#include <windows.h>

#include <memory>
#include <vector>

#include "win/window_win.h"

namespace quillet {

class TabPage : public Window {
 public:
  bool Create(HWND owner, const RECT& area);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class PageControl {
 public:
  bool Create(HWND owner, HFONT font, int x, int y, int w, int h, int id, const std::vector<const char*>& captions,
              DWORD extra_style = 0);
  HWND hwnd() const { return tab_; }
  HWND page(int index) const { return pages_[static_cast<std::size_t>(index)]->hwnd(); }
  int active() const;
  // Brings the page to the front (as a click on its tab does, without the notification).
  void SetActive(int index);
  // After the tab control changed its selection: shows the selected page.
  void ShowSelected();

 private:
  HWND tab_ = nullptr;
  std::vector<std::unique_ptr<TabPage>> pages_;
};

}  // namespace quillet
