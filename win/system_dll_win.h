#pragma once
// Functions of system libraries the program needs only now and then (file dialogs,
// dropped files): they are loaded on first use, so start-up does not pay for them.
#include <windows.h>

namespace quillet {

template <typename Fn>
Fn SystemFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace quillet
