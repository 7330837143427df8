#pragma once
// The program's message loops: the main loop and the nested loops of modal windows.
// Every message taken from the queue passes the application's hook first; keyboard
// messages then go to the modeless dialogs, the accelerators (main loop only) and the
// modal window's dialog navigation.
#include <windows.h>

#include <functional>

namespace quillet {

struct MessageLoopHooks {
  std::function<void(MSG&)> app_message;          // sees every message, never consumes it
  std::function<bool(MSG&)> translate_main_keys;  // accelerators, MDI keys, modeless dialogs
};

void SetMessageLoopHooks(MessageLoopHooks hooks);
void ClearMessageLoopHooks();

// Handles one message taken from the queue as the loops do.
void HandleQueuedMessage(HWND modal_dialog, MSG& msg);

// Handles the messages already queued; a WM_QUIT met ends it (false) and is posted again
// for the outer loop.
bool PumpQueuedMessages();

// Waits up to ms for a message to come, then handles what is queued as PumpQueuedMessages.
bool WaitAndPumpMessages(DWORD ms);

// Takes and handles one message; false when it was WM_QUIT.
bool PumpOneMessage(HWND modal_dialog, MSG& msg);

// Runs the main loop until WM_QUIT; returns its exit code.
int RunMainLoop();

// Runs a nested loop for a modal window until *done becomes true. A WM_QUIT seen meanwhile
// ends the loop and is posted again for the outer loop. take, when given, sees each
// message first and keeps the ones it handled (true) from the dialog.
void RunModalLoop(HWND dialog, const bool& done, const std::function<bool(const MSG&)>& take = nullptr);

}  // namespace quillet
