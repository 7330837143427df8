#pragma once
// Functions of system libraries the program needs only now and then (file dialogs,
// dropped files, the common controls): they are loaded on first use, so start-up does not
// pay for them. Under Wine, comctl32 and comdlg32 alone add about 100 ms to every start,
// also to the short one of "Quillet.exe -line N FILE" that only hands its request over.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

namespace quillet {

template <typename Fn>
Fn SystemFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Whether the program runs under Wine rather than on Windows.
bool UnderWine();

// The common controls (the manifest's version 6 where the platform has it).
bool InitControls(DWORD classes);
BOOL SubclassWindow(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data);
BOOL RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id);
LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The modeless Find and Replace dialogs of comdlg32.
HWND FindTextDialog(FINDREPLACEA& request, bool replace);

}  // namespace quillet
