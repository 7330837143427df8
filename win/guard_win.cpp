#include "win/guard_win.h"

#include <new>

namespace quillet {

namespace {
FailureReporter& Reporter() {
  static FailureReporter reporter;
  return reporter;
}
}  // namespace

void SetFailureReporter(FailureReporter reporter) { Reporter() = std::move(reporter); }

std::string FailureText(const std::exception* e) {
  if (dynamic_cast<const std::bad_alloc*>(e)) return "ﾒﾓﾘが不足しているため、操作を完了できません。";
  std::string text = "内部ｴﾗｰが発生しました。";
  if (e && *e->what()) text += "\r(" + std::string(e->what()) + ")";
  return text;
}

void ReportFailure(HWND window, const std::exception* e) noexcept {
  static bool reporting = false;
  if (reporting || !Reporter()) return;
  reporting = true;
  try {
    HWND owner = window && IsWindow(window) ? GetAncestor(window, GA_ROOT) : nullptr;
    Reporter()(owner, FailureText(e));
  } catch (...) {
    // Telling the user failed as well: the failure is stopped here all the same.
  }
  reporting = false;
}

LRESULT FailedMessageResult(UINT msg) {
  if (msg == WM_NCCREATE) return FALSE;
  if (msg == WM_CREATE) return -1;
  return 0;
}

}  // namespace quillet
