#pragma once
// Plumbing shared by the help windows: a window procedure that hands every message to
// the object given at creation, and the one-time registration of a window class.
#include <windows.h>

namespace quillet::help_window {

// Registers the class once per process; true when it exists afterwards.
bool RegisterClassOnce(const char* class_name, WNDPROC proc, int background_color, UINT class_style = 0);

// The window procedure of a class whose windows belong to an object of type T: the
// object is the creation parameter, and T::Handle(hwnd, msg, wp, lp) sees every message
// from WM_NCCREATE to WM_NCDESTROY. No exception leaves the procedure.
template <typename T>
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  try {
    return self->Handle(hwnd, msg, wp, lp);
  } catch (...) {
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace quillet::help_window
