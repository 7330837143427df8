#pragma once
// The road of a TeX run: the engine started as a process and told over DDE which file and
// format to typeset, the wait for its log, the errors shown and the first one selected,
// and the hand-over of the .dvi file to the DVI viewer. A run is a job of the main
// message loop: the window that starts it says what to run in a request, drives it with
// a timer of its own (kTimerId) and hears back through TeXRunHost; the user goes on
// working meanwhile.
#include <windows.h>

#include <memory>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "core/foreign_chars.h"
#include "win/handles_win.h"

namespace quillet {

class DdeClient;
class Messages;

enum class ViewerAction { Preview = 1, Print = 2 };

struct ViewerRequest {
  int kind = -1;        // the viewer kind; -1 when none is chosen
  std::string command;  // its program
};

struct TeXRunRequest {
  std::string source;           // the document's file name, saved
  int format_index = -1;        // the chosen format, numbered as the engine numbers them
  std::string engine_command;   // the chosen engine's program
  bool only_if_needed = false;  // skipped when the .dvi is newer than the source and its inputs
  bool show_log = false;        // the log is then shown in the outside editor
  std::string log_editor;       // its command
  std::optional<ViewerAction> then_view{};  // the source's .dvi then goes to the viewer
  ViewerRequest viewer{};
};

// How a run ended.
enum class RunResult { DviReady, NoDvi, Stopped };

// What a run needs from the window that started it.
class TeXRunHost {
 public:
  // The window that owns the run's messages and its timer.
  virtual HWND MessageOwner() const = 0;
  virtual Messages& messages() = 0;
  // The exit command is refused while a finished engine's log is being read.
  virtual void SetExitEnabled(bool enabled) = 0;
  // What the error window shows: nothing when a run starts, the log's lines when it ends
  // (read from the log's own code into Shift-JIS: characters Shift-JIS lacks have codes
  // of chars); the places the lines name are found from source, the run's document.
  virtual void ShowLogText(const std::string& text, ForeignChars chars, const std::string& source) = 0;
  // The log held errors: the error window comes up and the line of the first (0: none)
  // is selected in the source's document.
  virtual void ShowErrors(const std::string& source, int line) = 0;
  // The run is over, the viewer step (if any) done.
  virtual void TeXRunEnded(RunResult result) = 0;

 protected:
  ~TeXRunHost() = default;
};

class TeXRunner {
 public:
  // The owner window's timer that drives a run.
  static constexpr UINT_PTR kTimerId = 2;

  explicit TeXRunner(TeXRunHost& host);
  ~TeXRunner();  // an engine still running is ended

  // Starts a run; its end is reported through the host, at once when the run is skipped
  // (only_if_needed and the .dvi current), refused or its engine cannot be started.
  void Start(TeXRunRequest request);
  // The owner's timer elapsed.
  void OnTimer();
  // Ends a run that goes on: the engine is asked to quit (WM_QUIT to its main thread) and
  // ended outright if it has not within about two seconds. Reported as RunResult::Stopped.
  void Stop();
  bool running() const { return phase_ != Phase::Idle; }

  void OpenInViewer(const std::string& file_name, ViewerAction action, const ViewerRequest& viewer);
  // Shows the .dvi in the viewer where place_command (ViewerForwardSearchCommand) says.
  void ShowPlace(const std::string& dvi, const std::string& place_command, const ViewerRequest& viewer);
  // The online manual below the viewer's program folder.
  void OpenManual(const ViewerRequest& viewer);

 private:
  enum class Phase { Idle, Connecting, WaitingForLog, Stopping, Finishing };

  void SendToViewer(const std::string& dvi, const std::string& command, const ViewerRequest& viewer);
  bool StartEngine(const std::string& command);
  void SetPhase(Phase phase);
  void ConnectTick();
  void WaitForLogTick();
  void StoppingTick();
  bool FinishWithLog(const std::string& log_bytes);
  void ShowLogInEditor();
  void Finish(RunResult result);
  bool EngineEnded() const;
  void EndEngine();

  TeXRunHost& host_;
  Phase phase_ = Phase::Idle;
  TeXRunRequest request_;
  KernelHandle engine_;
  DWORD engine_thread_ = 0;
  std::unique_ptr<DdeClient> dde_;  // while the engine is reached, until the command is out
  bool first_attempt_ = true;
  bool quit_posted_ = false;
  bool ticking_ = false;
  DWORD phase_started_ = 0;
  DWORD engine_ended_at_ = 0;  // 0: still running
  // The source's age when its run began: the user may save it while the run goes on.
  std::int32_t source_age_ = -1;
  // Sources saved while their run went on: their .dvi may be older than its date says.
  std::vector<std::string> saved_during_run_;
};

}  // namespace quillet
