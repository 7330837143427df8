#include "win/message_loop_win.h"

#include "win/guard_win.h"

namespace quillet {

namespace {
MessageLoopHooks& Hooks() {
  static MessageLoopHooks hooks;
  return hooks;
}

}  // namespace

void HandleQueuedMessage(HWND modal_dialog, MSG& msg) {
  // The hooks are the program's own handlers too: a failure in them ends neither the
  // message nor the loop.
  if (Hooks().app_message) {
    Guarded(msg.hwnd, 0, [&] {
      Hooks().app_message(msg);
      return 0;
    });
  }
  if (modal_dialog) {
    if (IsDialogMessageA(modal_dialog, &msg)) return;
  } else if (Hooks().translate_main_keys && Guarded(msg.hwnd, false, [&] { return Hooks().translate_main_keys(msg); })) {
    return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void SetMessageLoopHooks(MessageLoopHooks hooks) { Hooks() = std::move(hooks); }
void ClearMessageLoopHooks() { Hooks() = {}; }

bool PumpQueuedMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    HandleQueuedMessage(nullptr, msg);
  }
  return true;
}

bool WaitAndPumpMessages(DWORD ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
  return PumpQueuedMessages();
}

bool PumpOneMessage(HWND modal_dialog, MSG& msg) {
  if (GetMessageA(&msg, nullptr, 0, 0) <= 0) return false;
  HandleQueuedMessage(modal_dialog, msg);
  return true;
}

int RunMainLoop() {
  MSG msg{};
  while (PumpOneMessage(nullptr, msg)) {
  }
  return static_cast<int>(msg.wParam);
}

void RunModalLoop(HWND dialog, const bool& done, const std::function<bool(const MSG&)>& take) {
  MSG msg{};
  while (!done) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (!take || !take(msg)) HandleQueuedMessage(dialog, msg);
  }
}

}  // namespace quillet
