#pragma once
// The whole program started in a benchmark's own process, with its settings in a
// directory of the benchmark's and message boxes answered without showing them.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/application_win.h"
#include "app/main_form_win.h"
#include "bench/winbench_support.h"
#include "document/mdi_child_win.h"

namespace quillet::bench {

// Answers every question as closing the box would, or Yes when told to.
class SilentMessages : public Messages {
 public:
  bool say_yes = false;
  MsgResult Show(HWND, MsgKind, const std::string&, unsigned buttons) override {
    return say_yes && (buttons & kMsgYes) ? MsgResult::Yes : EscapeResult(buttons);
  }
};

// The settings files quillet.ini and wintex.ini are those in dir (ending in "\").
struct ProgramInProcess {
  SilentMessages messages;
  std::unique_ptr<Application> app;
  explicit ProgramInProcess(const std::string& dir, std::vector<std::string> args = {}) {
    AppOptions options;
    options.ini_path = dir + "quillet.ini";
    options.wintex_path = dir + "wintex.ini";
    options.messages = &messages;
    options.args = std::move(args);
    options.use_shipped_content = false;
    app = std::make_unique<Application>(std::move(options));
    app->Start();
    Pump();
  }
  TMainForm& main() { return app->MainForm(); }
  ~ProgramInProcess() {
    for (TMDIChild* doc : main().Children()) doc->SetModified(false);
    DestroyWindow(main().hwnd());
    Pump();
  }
};

}  // namespace quillet::bench
