#pragma once
// Runs the real program in the test process: the application object with its ten
// windows, settings files in a fresh directory, and scripted message boxes and file
// dialogs that record what the user would have seen and answer as the test says.
#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/application_win.h"
#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "tests/win/support/test_support.h"

namespace quillet::test {

class ScriptedMessages : public Messages {
 public:
  struct Shown {
    MsgKind kind;
    std::string text;
    unsigned buttons;
  };
  MsgResult Show(HWND owner, MsgKind kind, const std::string& text, unsigned buttons) override;
  std::vector<Shown> shown;
  std::deque<MsgResult> answers;  // when empty, the box is closed (Cancel, else No, else OK)
  std::string Texts() const;      // every text shown, one per line
};

class ScriptedFileDialogs : public FileDialogs {
 public:
  bool Open(HWND owner, const FileDialogArgs& args, std::string& chosen) override;
  bool Save(HWND owner, const FileDialogArgs& args, std::string& chosen) override;
  std::unique_ptr<PrintTarget> ChoosePrinter(HWND owner, int& copies) override;
  std::vector<FileDialogArgs> asked;
  // The print dialog: how many copies the user asks for (0: cancel), and the jobs printed.
  int print_copies = 0;
  struct Job {
    std::string title;
    int pages = 0;
    bool ended = false;
  };
  std::vector<Job> jobs;
  std::deque<std::optional<std::string>> answers;  // nullopt or none left: Cancel
  // The save dialog's encoding and line-end lists: what each save showed in them (nullopt
  // when it offered none), and what the user picks in the next ones confirmed (none
  // left: what they showed).
  std::vector<std::optional<FileCoding>> codings_shown;
  std::deque<FileCoding> coding_answers;

 private:
  bool Answer(const FileDialogArgs& args, std::string& chosen);
};

class AppHarness {
 public:
  AppHarness();
  ~AppHarness();

  // Starts the program with the settings file as it is in dir() (write it first).
  void Start(std::vector<std::string> args = {});
  // Asks the main window to close (as the exit command does) and lets the messages run.
  void Close();
  bool closed() const;

  TMainForm& main() { return app_->MainForm(); }
  Application& app() { return *app_; }
  const TempDir& dir() const { return dir_; }
  std::string ini_path() const { return dir_ / "quillet.ini"; }
  std::string wintex_path() const { return dir_ / "wintex.ini"; }
  void WriteIni(const std::string& text) const { WriteFileBytes(ini_path(), text); }
  // A file in dir() with the given bytes; returns its full name.
  std::string MakeFile(const std::string& name, const std::string& bytes) const {
    WriteFileBytes(dir_ / name, bytes);
    return dir_ / name;
  }
  std::string Ini() const { return ReadFileBytes(ini_path()); }
  std::string IniValue(const char* section, const char* key) const;

  std::string Panel(int index) { return main().status_bar().Text(index); }
  // A menu item by its name; a name the menu does not hold fails the test.
  MenuNode& Item(const char* name);
  // A command as the menu sends it, and the TeX run it starts (if any) to its end (at most
  // kRunLimitMs).
  void Command(UINT id);
  // A command as the menu sends it, left running: a TeX run goes on in the main loop.
  void StartCommand(UINT id);
  static constexpr DWORD kRunLimitMs = 60000;
  // New as a user who has switched the new-document wizard off gets it: a blank document.
  void NewBlankDocument() {
    app().env_settings().general.use_doc_exp = false;
    Command(kFileNewItem);
  }

  ScriptedMessages messages;
  ScriptedFileDialogs dialogs;
  std::string help_file = "Quillet.hlp";
  // The bridges are built beside the tests: only the tests of the first run take them.
  bool use_shipped_content = false;

 private:
  TempDir dir_;
  std::unique_ptr<Application> app_;
};

// Runs fn from inside the next modal loop (after delay_ms), e.g. to press a dialog's button.
void WhenModal(std::function<void()> fn, UINT delay_ms = 50);

}  // namespace quillet::test
