#pragma once
// The road of a TeX run: the engine started as a process and told over DDE which file and
// format to typeset, the wait for its log, the errors shown and the first one selected,
// and the hand-over of the .dvi file to the DVI viewer.
#include <windows.h>

#include <string>

#include "win/handles_win.h"

namespace quillet {

class Application;

enum class ViewerAction { Preview = 1, Print = 2 };

class TeXRunner {
 public:
  explicit TeXRunner(Application& app) : app_(app) {}

  // True when a .dvi file is ready for the viewer: the run ended without errors, or it was
  // skipped because the .dvi was newer than the source (only_if_needed).
  bool RunTeX(bool only_if_needed);
  void OpenInViewer(const std::string& file_name, ViewerAction action);
  void DigitalItemClick();

  bool running() const { return running_; }
  // Ends a run that waits (Esc, or the program being closed); the engine is terminated.
  void Cancel() { cancelled_ = true; }

 private:
  bool StartEngine();
  bool ConnectAndSend(const std::string& source);
  bool WaitForLog(const std::string& source);
  bool FinishWithLog(const std::string& source, const std::string& log_bytes);
  void ShowLogInEditor(const std::string& source);
  // Handles the pending messages; answers false when the run was cancelled meanwhile.
  bool PumpWhileRunning(DWORD wait_ms);
  void EndEngine();

  Application& app_;
  KernelHandle engine_;
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace quillet
