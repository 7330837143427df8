#pragma once
// Exceptions never unwind into the platform's message dispatch: every window procedure
// and callback of the program runs its handler through Guarded, which tells the user and
// answers the message as failed, and the program carries on.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace quillet {

// How a failure reaches the user: the application shows it in its message dialog.
// Without a reporter a failure is only stopped.
using FailureReporter = std::function<void(HWND owner, const std::string& text)>;
void SetFailureReporter(FailureReporter reporter);

// The text shown for an exception stopped at a window's boundary (null: not a
// std::exception).
std::string FailureText(const std::exception* e);

// Tells the user about the exception being handled; a failure met while one is being
// told is only stopped.
void ReportFailure(HWND window, const std::exception* e) noexcept;

template <class R, class F>
R Guarded(HWND window, R on_failure, F&& handler) noexcept {
  try {
    return handler();
  } catch (const std::exception& e) {
    ReportFailure(window, &e);
  } catch (...) {
    ReportFailure(window, nullptr);
  }
  return on_failure;
}

// What a window procedure answers for a message whose handler failed: creation is
// refused, anything else counts as not done.
LRESULT FailedMessageResult(UINT msg);

}  // namespace quillet
