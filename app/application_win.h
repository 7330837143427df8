#pragma once
// The application object: it owns the ten windows of the program, created once at
// start-up in a fixed order and kept until the program ends, and the services they share.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/second_start_win.h"
#include "prefs/env_settings.h"
#include "tex/tex_config_win.h"
#include "win/file_dialogs_win.h"
#include "win/message_dialog_win.h"
#include "win/profile_win.h"

namespace quillet {

class AutoSaveRecordFile;
class HelpEngine;
class TMainForm;
class TInput;
class TPagesDlg;
class TPagesDlg1;
class TErrorWin;
class TTitleForm;
class TDocExpDlg;
class TJumpDlg;
class TMacroDlg;
class TSectionDlg;

struct AppOptions {
  std::string ini_path = "quillet.ini";   // a bare name: the Windows directory or the user's copy
  std::string wintex_path = "wintex.ini";
  std::string help_file = "Quillet.hlp";
  std::vector<std::string> args;          // command-line arguments after the program name
  std::optional<LineRequest> line_request;  // "-line N FILE": served instead of opening args
  Messages* messages = nullptr;           // null: the real message dialog
  FileDialogs* file_dialogs = nullptr;    // null: the platform's dialogs
  bool use_shipped_content = true;  // take the bridges and macros beside the program when nothing is set
};

class Application {
 public:
  static constexpr const char* kTitle = "TeX Quillet";

  explicit Application(AppOptions options);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Creates the windows and runs the start-up load; false when a window cannot be made.
  bool Start();
  // Start, then the message loop until the main window is closed.
  int Run();

  TMainForm& MainForm() { return *main_form_; }
  TInput& Input() { return *input_; }
  TPagesDlg& PagesDlg() { return *pages_dlg_; }
  TPagesDlg1& PagesDlg1() { return *pages_dlg1_; }
  TErrorWin& ErrorWin() { return *error_win_; }
  TTitleForm& TitleForm() { return *title_form_; }
  TDocExpDlg& DocExpDlg() { return *doc_exp_dlg_; }
  TJumpDlg& JumpDlg() { return *jump_dlg_; }
  TMacroDlg& MacroDlg() { return *macro_dlg_; }
  TSectionDlg& SectionDlg() { return *section_dlg_; }
  HWND handle() const { return app_window_; }

  Messages& messages() { return *messages_; }
  FileDialogs& file_dialogs() { return *file_dialogs_; }
  const ProfileFile& settings_file() const { return settings_; }
  // The program's own settings that the environment dialog edits.
  EnvSettings& env_settings() { return env_settings_; }
  const EnvSettings& env_settings() const { return env_settings_; }
  // The TeX engine's configuration (wintex.ini) and what was read from it at start-up.
  ProfileStore& tex_settings_file() { return tex_settings_; }
  TeXConfiguration& tex_config() { return tex_config_; }
  const AppOptions& options() const { return options_; }
  // This run's record of its autosave copies.
  AutoSaveRecordFile& autosave_record() { return *autosave_record_; }

  // Every help request goes through here (WinHelp commands and data).
  void Help(HWND owner, UINT command, ULONG_PTR data);
  HelpEngine& help_engine() { return *help_; }

  // The start-up load run while the title window is shown.
  void LoadAll();

 private:
  bool CreateWindows();
  void OpenCommandLineFile();
  // A viewer's inverse search: the file opened as OpenDocument opens it, line N selected.
  void ServeLineRequest(const LineRequest& request);

  AppOptions options_;
  ProfileFile settings_;
  EnvSettings env_settings_;
  WinProfileStore tex_settings_;
  TeXConfiguration tex_config_;
  std::unique_ptr<Messages> own_messages_;
  std::unique_ptr<FileDialogs> own_file_dialogs_;
  Messages* messages_;
  FileDialogs* file_dialogs_;
  std::unique_ptr<HelpEngine> help_;
  std::unique_ptr<AutoSaveRecordFile> autosave_record_;
  HWND app_window_ = nullptr;

  std::unique_ptr<TMainForm> main_form_;
  std::unique_ptr<TInput> input_;
  std::unique_ptr<TPagesDlg> pages_dlg_;
  std::unique_ptr<TPagesDlg1> pages_dlg1_;
  std::unique_ptr<TErrorWin> error_win_;
  std::unique_ptr<TTitleForm> title_form_;
  std::unique_ptr<TDocExpDlg> doc_exp_dlg_;
  std::unique_ptr<TJumpDlg> jump_dlg_;
  std::unique_ptr<TMacroDlg> macro_dlg_;
  std::unique_ptr<TSectionDlg> section_dlg_;
  LineRequestWindow line_requests_;  // last: it goes first, before the windows it serves
};

}  // namespace quillet
