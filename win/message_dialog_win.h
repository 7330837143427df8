#pragma once
// Messages to the user: one dialog of the program's own with four kinds (warning,
// error, information, confirmation) and the buttons Yes, No, OK and Cancel.
#include <windows.h>

#include <string>

namespace quillet {

enum class MsgKind { Warning, Error, Information, Confirmation };
enum MsgButtons : unsigned { kMsgYes = 1, kMsgNo = 2, kMsgOk = 4, kMsgCancel = 8 };
enum class MsgResult { Yes, No, Ok, Cancel };

// Title of a message of that kind: "警告", "ｴﾗｰ", "情報", "確認".
const char* MessageTitle(MsgKind kind);

class Messages {
 public:
  virtual ~Messages() = default;
  // Shows text (line breaks as CR, LF or CR LF) with the given buttons and waits for the
  // answer. Closing the box counts as Cancel when it has that button, else No, else OK.
  virtual MsgResult Show(HWND owner, MsgKind kind, const std::string& text, unsigned buttons) = 0;

  void Warn(HWND owner, const std::string& text) { Show(owner, MsgKind::Warning, text, kMsgOk); }
  void Error(HWND owner, const std::string& text) { Show(owner, MsgKind::Error, text, kMsgOk); }
  void Inform(HWND owner, const std::string& text) { Show(owner, MsgKind::Information, text, kMsgOk); }
};

// The real dialog.
class MessageDialog : public Messages {
 public:
  MsgResult Show(HWND owner, MsgKind kind, const std::string& text, unsigned buttons) override;
};

// The button an unanswered box (close box, Esc) gives.
MsgResult EscapeResult(unsigned buttons);

}  // namespace quillet
