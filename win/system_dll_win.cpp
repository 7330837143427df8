#include "win/system_dll_win.h"

namespace quillet {

namespace {

// Looked up once: the subclass functions run for every message of the windows they serve.
template <typename Fn>
Fn Comctl32(const char* name) {
  return SystemFunction<Fn>("comctl32.dll", name);
}

}  // namespace

bool UnderWine() {
  static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

bool InitControls(DWORD classes) {
  static const auto init = Comctl32<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
  INITCOMMONCONTROLSEX icc{sizeof icc, classes};
  return init && init(&icc);
}

BOOL SubclassWindow(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  static const auto set = Comctl32<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR)>("SetWindowSubclass");
  return set && set(hwnd, proc, id, data);
}

BOOL RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
  static const auto remove = Comctl32<BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR)>("RemoveWindowSubclass");
  return remove && remove(hwnd, proc, id);
}

LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  static const auto def = Comctl32<LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM)>("DefSubclassProc");
  return def ? def(hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

HWND FindTextDialog(FINDREPLACEA& request, bool replace) {
  auto open = SystemFunction<HWND(WINAPI*)(FINDREPLACEA*)>("comdlg32.dll", replace ? "ReplaceTextA" : "FindTextA");
  return open ? open(&request) : nullptr;
}

}  // namespace quillet
