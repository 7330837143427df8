// Dialogs driven with real key presses through the X server, as a user types: each takes
// the keyboard the moment it shows, its first input has the focus and Enter runs its
// default button.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "bridges/outside_run_win.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/linux_run.h"
#include "tests/win/support/test_support.h"

namespace quillet::test {
namespace {

// The keys, typed by xdotool once the dialog is up; a dialog the keys did not end is
// closed after a while, which the test then sees.
bool closed_by_test = false;
// The main window, and the dialog up and the window with the focus just before the keys.
HWND test_main = nullptr, seen_dialog = nullptr, seen_focus = nullptr;

UINT_PTR stuck_timer = 0;

BOOL CALLBACK CloseIfTakingInput(HWND window, LPARAM) {
  if (window != test_main && IsWindowVisible(window) && IsWindowEnabled(window)) PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

// Every few seconds until the test's command returns. The dialogs have no owner, and the
// one up may not be the one seen when the keys were sent: every shown window of the
// program that takes input gets WM_CLOSE, which ends a modal form (the palette and the
// error window are only hidden).
void CALLBACK CloseStuckDialog(HWND, UINT, UINT_PTR, DWORD) {
  closed_by_test = true;
  EnumThreadWindows(GetCurrentThreadId(), CloseIfTakingInput, 0);
}

// Without a window manager the X server keeps its focus where it was: the keys are sent
// to the dialog's own X window, as a window manager would have them go.
void TypeWhenModal(AppHarness& h, const std::string& keys) {
  closed_by_test = false;
  test_main = h.main().hwnd();
  seen_dialog = seen_focus = nullptr;
  WhenModal([folder = h.dir().path(), keys] {
    seen_dialog = GetActiveWindow();
    seen_focus = GetFocus();
    StartShellScript(folder + "keys.sh", KeysScript(seen_dialog, keys) + "\n");
    stuck_timer = SetTimer(nullptr, 0, 8000, CloseStuckDialog);
  }, 200);
}

// Once the command is back: the keys, not the test, ended its dialog.
void ExpectEndedByKeys() {
  KillTimer(nullptr, stuck_timer);
  EXPECT_FALSE(closed_by_test) << "the keys did not end the dialog: the test closed it";
}

std::string Lines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST(DialogKeys, TheJumpDialogTakesTypedDigitsAndEnter) {
  AppHarness h;
  h.Start({h.MakeFile("j.tex", Lines(60))});
  HWND editor = h.main().ActiveChild()->Memo;
  TypeWhenModal(h, "3 5 Return");
  h.Command(kJumptoItem);
  ExpectEndedByKeys();
  EXPECT_EQ(SendMessageA(editor, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 34);
}

// Every dialog: the focus is on one of its controls when it shows, and Enter (the wizard:
// through its pages) ends it.
TEST(DialogKeys, EveryDialogTakesTheKeyboardAndEnterEndsIt) {
  struct Case {
    const char* name;
    int command;
    const char* keys;
    std::function<void(AppHarness&)> setup;
  } cases[] = {
      {"heading index", kFindSecItem, "Down Return", nullptr},
      {"macros", kMacroItem, "Down Return",
       [](AppHarness& h) {
         std::string folder = h.dir() / "macros";
         CreateDirectoryA(folder.c_str(), nullptr);
         WriteFileBytes(folder + "\\itemize.tex", "%% TeX Quillet Macro 1.0\r\n%箇条書き\r\n\\begin{itemize}\r\n");
         h.app().env_settings().general.macro_path = folder;
       }},
      {"wizard", kFileNewItem, "Return Down Return Return",
       [](AppHarness& h) {
         h.app().env_settings().general.use_doc_exp = true;
         h.messages.answers = {MsgResult::Yes};  // should it have to be closed
       }},
      {"environment", kEnvItem, "Return", nullptr},
      {"TeX settings", kSetItem, "Return",
       [](AppHarness& h) { WriteFileBytes(h.wintex_path(), "[TeXMode]\r\nDefault=0\r\nMenu0=pLaTeX\r\n"); }},
      {"about", kHelpAboutItem, "Return", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppHarness h;
    h.Start({h.MakeFile("d.tex", "\\section{はじめに}\r\ntext\r\n\\section{終わりに}\r\n")});
    if (c.setup) c.setup(h);
    TypeWhenModal(h, c.keys);
    h.Command(c.command);
    ExpectEndedByKeys();
    ASSERT_TRUE(seen_dialog && seen_dialog != test_main) << "no dialog was active when the keys were sent";
    EXPECT_TRUE(seen_focus && IsChild(seen_dialog, seen_focus)) << "the focus is on " << seen_focus;
  }
}

// The edit commands by their keys, with no menu opened first (the Edit menu is judged when
// it opens): the keys reach the commands in the state the document is in now.
TEST(DialogKeys, EditKeysWorkWithoutTheMenuOpened) {
  AppHarness h;
  h.Start({h.MakeFile("k.tex", "abc")});
  HWND editor = h.main().ActiveChild()->Memo;
  SetForegroundWindow(h.main().hwnd());
  SetFocus(editor);
  auto press = [&](const char* keys) {
    RunOnLinux(h.dir().path(), KeysScript(h.main().hwnd(), keys), "");
    PumpMessages(300);
    return EditorText(editor);
  };
  EXPECT_EQ(press("ctrl+a ctrl+c End ctrl+v"), "abcabc");
  EXPECT_EQ(press("ctrl+z"), "abc");
  EXPECT_EQ(press("ctrl+a ctrl+x"), "");
  EXPECT_EQ(press("ctrl+y"), "");  // redo has no action
}

}  // namespace
}  // namespace quillet::test
