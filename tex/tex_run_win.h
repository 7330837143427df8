#pragma once
// The road of a TeX run: the engine started as a process and told over DDE which file and
// format to typeset, the wait for its log, the errors shown and the first one selected,
// and the hand-over of the .dvi file to the DVI viewer. The window that starts a run says
// what to run in a request and hears back through TeXRunHost.
#include <windows.h>

#include <string>

#include "core/foreign_chars.h"
#include "win/handles_win.h"

namespace quillet {

class Messages;


enum class ViewerAction { Preview = 1, Print = 2 };

struct TeXRunRequest {
  std::string source;           // the document's file name, saved
  int format_index = -1;        // the chosen format, numbered as the engine numbers them
  std::string engine_command;   // the chosen engine's program
  bool only_if_needed = false;  // skipped when the .dvi is newer than the source
  bool show_log = false;        // the log is then shown in the outside editor
  std::string log_editor;       // its command
};

struct ViewerRequest {
  int kind = -1;        // the viewer kind; -1 when none is chosen
  std::string command;  // its program
};

// What a run needs from the window that started it.
class TeXRunHost {
 public:
  // The window that owns the run's messages; Esc pressed in it ends a run that waits.
  virtual HWND MessageOwner() const = 0;
  virtual Messages& messages() = 0;
  // The exit command is refused while a finished engine's log is being read.
  virtual void SetExitEnabled(bool enabled) = 0;
  // What the error window shows: nothing when a run starts, the log's lines when it ends
  // (read from the log's own code into Shift-JIS: characters Shift-JIS lacks have codes
  // of chars).
  virtual void ShowLogText(const std::string& text, ForeignChars chars) = 0;
  // The log held errors: the error window comes up and the line of the first (0: none)
  // is selected in the source's document.
  virtual void ShowErrors(const std::string& source, int line) = 0;

 protected:
  ~TeXRunHost() = default;
};

class TeXRunner {
 public:
  explicit TeXRunner(TeXRunHost& host) : host_(host) {}

  // True when a .dvi file is ready for the viewer: the run ended without errors, or it was
  // skipped because the .dvi was newer than the source (only_if_needed).
  bool RunTeX(const TeXRunRequest& request);
  void OpenInViewer(const std::string& file_name, ViewerAction action, const ViewerRequest& viewer);
  // The online manual below the viewer's program folder.
  void OpenManual(const ViewerRequest& viewer);

  bool running() const { return running_; }
  // Ends a run that waits (Esc, or the program being closed); the engine is terminated.
  void Cancel() { cancelled_ = true; }

 private:
  bool StartEngine(const std::string& command);
  bool ConnectAndSend(const TeXRunRequest& request);
  bool WaitForLog(const TeXRunRequest& request);
  bool FinishWithLog(const TeXRunRequest& request, const std::string& log_bytes);
  void ShowLogInEditor(const TeXRunRequest& request);
  // Handles the pending messages; answers false when the run was cancelled meanwhile.
  bool PumpWhileRunning(DWORD wait_ms);
  void EndEngine();

  TeXRunHost& host_;
  KernelHandle engine_;
  ChangeNotificationHandle folder_change_;  // the source's folder, while a run waits for its log
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace quillet
