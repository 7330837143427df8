#pragma once
// The program's help engine: the contents window and the pop-up topics of its own help
// file, asked for with the commands and data of WinHelpA.
#include <windows.h>

#include <memory>
#include <string>

namespace quillet {

enum class HelpResult { Shown, Closed, FileMissing, NoTopic };

class HelpEngine {
 public:
  // file_name as the program names it ("Quillet.hlp"); a bare name is looked up in the
  // program's own directory, then the current directory, then the Windows directory.
  // The file is read on first use and kept.
  explicit HelpEngine(std::string file_name);
  ~HelpEngine();  // destroys its windows
  HelpEngine(const HelpEngine&) = delete;
  HelpEngine& operator=(const HelpEngine&) = delete;

  // HELP_FINDER (data 0) opens or brings forward the contents window; HELP_CONTEXTPOPUP
  // (data = context number) shows that topic in a pop-up beside the mouse; HELP_QUIT
  // closes both windows (Closed). Other commands: NoTopic. owner is the window asking.
  // No message box is shown: the caller reports FileMissing and NoTopic itself.
  HelpResult Request(HWND owner, UINT command, ULONG_PTR data);

  HWND contents_window() const;  // null when not open
  HWND popup_window() const;     // null when not shown
  // Text shown in the pop-up / in the contents window's topic pane.
  std::string popup_text() const;
  std::string shown_topic_text() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quillet
