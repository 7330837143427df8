// The program's own message box as people and their tools read it: the text is a control
// of its own, and Ctrl+C (or WM_COPY) copies title, text and buttons as the platform's
// message boxes do.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "win/message_dialog_win.h"

namespace quillet::test {
namespace {

// Runs what while the box shows (from a timer of the box's own loop), then closes it.
std::function<void(HWND)>& WhileShown() {
  static std::function<void(HWND)> what;
  return what;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("QuilletMessage", nullptr);
  if (!box) return;
  KillTimer(nullptr, id);
  WhileShown()(box);
  PostMessageA(box, WM_CLOSE, 0, 0);
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

// The text of the box's static controls.
std::string ShownText(HWND box) {
  std::string shown;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16], text[512];
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) shown += text;
  }
  return shown;
}

TEST(MessageDialogTest, TheTextIsAControlAndCtrlCCopiesTheBox) {
  const std::string copied =
      "---------------------------\r\n確認\r\n---------------------------\r\n"
      "ﾌｧｲﾙ C:\\表\\a.tex は変更されています。\r\nﾌｧｲﾙに保存しますか?\r\n---------------------------\r\n"
      "はい(Y)   ｷｬﾝｾﾙ   \r\n---------------------------\r\n";
  struct Row {
    const char* how;
    std::function<void(HWND)> copy;
  } rows[] = {
      {"Ctrl+C on the focused button",
       // The key reaches the box's loop before the close that follows it.
       [](HWND box) {
         BYTE keys[256];
         GetKeyboardState(keys);
         keys[VK_CONTROL] = 0x80;
         SetKeyboardState(keys);
         HWND focus = GetFocus();
         PostMessageA(focus && IsChild(box, focus) ? focus : box, WM_KEYDOWN, 'C', 0);
       }},
      {"WM_COPY", [](HWND box) { SendMessageA(box, WM_COPY, 0, 0); }},
  };
  for (const Row& r : rows) {
    EmptyTheClipboard();
    std::string shown;
    WhileShown() = [&](HWND box) {
      shown = ShownText(box);
      r.copy(box);
    };
    SetTimer(nullptr, 0, 50, OnTimer);
    MessageDialog dialog;
    MsgResult result = dialog.Show(nullptr, MsgKind::Confirmation,
                                   "ﾌｧｲﾙ C:\\表\\a.tex は変更されています。\rﾌｧｲﾙに保存しますか?", kMsgYes | kMsgCancel);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(result, MsgResult::Cancel) << r.how;
    EXPECT_EQ(shown, "ﾌｧｲﾙ C:\\表\\a.tex は変更されています。\r\nﾌｧｲﾙに保存しますか?") << r.how;
    EXPECT_EQ(ClipboardText(), copied) << r.how;
  }
}

}  // namespace
}  // namespace quillet::test
