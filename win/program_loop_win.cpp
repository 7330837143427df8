#include "win/program_loop_win.h"

#include <tlhelp32.h>

#include "win/handles_win.h"

namespace quillet {

namespace {

// The process that started this one: found and still there (a handle to wait on), found
// but already gone, or not found (the snapshot failed).
struct Parent {
  bool found = false;
  KernelHandle process;
};

Parent FindParent() {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return {};
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) {
      return {true, KernelHandle(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ParentProcessID))};
    }
  }
  return {};
}

}  // namespace

void RunLoopWhileParentLives(const std::function<DWORD()>& after_wake) {
  Parent parent = FindParent();
  if (parent.found && !parent.process) return;
  HANDLE handles[1] = {parent.process.get()};
  DWORD count = parent.process ? 1 : 0;
  for (DWORD wait = after_wake();; wait = after_wake()) {
    if (MsgWaitForMultipleObjects(count, handles, FALSE, wait, QS_ALLINPUT) == WAIT_OBJECT_0 && count) return;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace quillet
