#pragma once
// The Run menu's commands and the format choice: they own the chosen format and its items
// in the Option menu, the run that goes on and the forward search, and answer the run's
// reports.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tex/tex_run_win.h"

namespace quillet {

class ForwardSearch;
class TMainForm;
class TMDIChild;

class RunCommands : public TeXRunHost {
 public:
  explicit RunCommands(TMainForm& main);
  ~RunCommands();

  // The format choice: one radio item per TeX format after the Option menu's own items.
  int CurrentTeXMode = -1;
  int OptionMenuBase = 0;
  std::vector<UINT> FormatCommandIds;
  UINT AddFormatMenuItem(const std::string& menu_string);
  void RemoveFormatMenuItems();
  // Start-up: the items of the format entries, the stored index (out of range: 0) checked.
  void SetFormatItems(const std::vector<std::string>& menu_strings, int stored_default);
  // After the TeX settings rewrote the entries.
  void RebuildFormatItems(const std::vector<std::string>& menu_strings);
  void ChooseFormat(int index);
  // A command that names a format item chooses that format; true when it did.
  bool OfferFormatCommand(UINT id);
  // Before a pLaTeX run, the characters pLaTeX would drop are named and upLaTeX is
  // offered; false when the user stops the run.
  bool AcceptPLaTeXCharacters(const TMDIChild& doc);

  void TeX1ItemClick();
  void TeX2ItemClick();
  void TeX3ItemClick();
  void DigitalItemClick();
  void StopTeXItemClick();
  // Forward search: the viewer shows where the caret's line was set.
  void ForwardSearchItemClick();

  // A run is being prepared (its questions are up) or goes on.
  bool busy() const { return busy_; }
  bool running() const;
  // A finished engine's log is being read: the program must not close now.
  bool exit_locked() const { return exit_locked_; }
  // The active document's last run left SyncTeX data; asked again when the active
  // document changes and when a run ends.
  bool synctex() const { return synctex_; }
  void CheckForwardSearchData();
  // The owner's run timer elapsed.
  void OnTimer();
  // Stops the run that goes on; the program closes when it has ended.
  void StopThenClose();

  HWND MessageOwner() const override;
  Messages& messages() override;
  void SetExitEnabled(bool enabled) override;
  void ShowLogText(const std::string& text, ForeignChars chars, const std::string& source) override;
  void ShowErrors(const std::string& source, int line) override;
  void TeXRunEnded(RunResult result) override;

 private:
  void CheckFormatItem(int index);
  void RunTeXCommand(bool only_if_needed, std::optional<ViewerAction> then_view);
  std::optional<TeXRunRequest> PrepareTeXRun(bool only_if_needed, std::optional<ViewerAction> then_view);
  // The run's panel follows whether a run goes on.
  void ShowTeXRunning(bool running);
  ViewerRequest ChosenViewer() const;

  TMainForm& main_;
  UINT next_format_command_;
  std::unique_ptr<TeXRunner> runner_;
  std::unique_ptr<ForwardSearch> forward_search_;
  bool busy_ = false;
  bool exit_locked_ = false;
  bool synctex_ = false;
  bool close_after_run_ = false;
  DWORD run_started_ = 0;  // GetTickCount at the run's start
};

}  // namespace quillet
