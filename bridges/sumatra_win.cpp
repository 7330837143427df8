#include "bridges/sumatra_win.h"

#include <windows.h>

#include "bridges/sumatra_commands.h"
#include "win/dde_client_win.h"

namespace quillet {

namespace {

constexpr DWORD kStartLimitMs = 10000, kExecuteLimitMs = 5000, kRetryMs = 100;

// The viewer is the user's own program: shown as usual and left running after us.
bool StartSumatra(const std::string& viewer_command, const std::string& pdf, const std::string& quillet_exe) {
  std::string line = SumatraStartCommandLine(viewer_command, pdf, quillet_exe);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// Tries again and again, handling messages in between, until SumatraPDF answers.
bool ConnectWithin(DdeClient& dde, DWORD limit_ms) {
  DWORD start = GetTickCount();
  while (!dde.Connect(kSumatraService, kSumatraTopic)) {
    if (GetTickCount() - start > limit_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kRetryMs, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

}  // namespace

bool ShowPlaceInSumatra(const std::string& viewer_command, const std::string& pdf, const std::string& source, int line,
                        int page, const std::string& quillet_exe) {
  DdeClient dde;
  bool answered = dde.Connect(kSumatraService, kSumatraTopic) ||
                  (StartSumatra(viewer_command, pdf, quillet_exe) && ConnectWithin(dde, kStartLimitMs));
  if (!answered || !dde.Execute(SumatraOpenCommand(pdf), kExecuteLimitMs)) return false;
  if (page > 0) dde.Execute(SumatraGotoPageCommand(pdf, page), kExecuteLimitMs);
  dde.Execute(SumatraForwardSearchCommand(pdf, source, line), kExecuteLimitMs);
  return true;
}

bool ShowPdfInSumatra(const std::string& viewer_command, const std::string& pdf, const std::string& quillet_exe) {
  DdeClient dde;
  if (dde.Connect(kSumatraService, kSumatraTopic)) return dde.Execute(SumatraOpenCommand(pdf), kExecuteLimitMs);
  return StartSumatra(viewer_command, pdf, quillet_exe);
}

}  // namespace quillet
