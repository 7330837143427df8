#include "tests/win/support/app_harness.h"

#include <functional>
#include <sstream>
#include <stdexcept>

namespace quillet::test {

MsgResult ScriptedMessages::Show(HWND, MsgKind kind, const std::string& text, unsigned buttons) {
  shown.push_back({kind, text, buttons});
  if (answers.empty()) return EscapeResult(buttons);
  MsgResult r = answers.front();
  answers.pop_front();
  return r;
}

std::string ScriptedMessages::Texts() const {
  std::string all;
  for (const auto& s : shown) all += s.text + "\n";
  return all;
}

bool ScriptedFileDialogs::Answer(const FileDialogArgs& args, std::string& chosen) {
  asked.push_back(args);
  if (answers.empty()) return false;
  std::optional<std::string> a = answers.front();
  answers.pop_front();
  if (!a) return false;
  chosen = *a;
  return true;
}

bool ScriptedFileDialogs::Open(HWND, const FileDialogArgs& args, std::string& chosen) { return Answer(args, chosen); }

bool ScriptedFileDialogs::Save(HWND, const FileDialogArgs& args, std::string& chosen) {
  codings_shown.push_back(args.coding ? std::optional<FileCoding>(*args.coding) : std::nullopt);
  if (!Answer(args, chosen)) return false;
  if (args.coding && !coding_answers.empty()) {
    *args.coding = coding_answers.front();
    coding_answers.pop_front();
  }
  return true;
}

namespace {
// Records jobs and pages; pages are drawn into a memory device with the screen's size.
class RecordingPrinter : public PrintTarget {
 public:
  explicit RecordingPrinter(std::vector<ScriptedFileDialogs::Job>& jobs) : jobs_(jobs) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, 800, 1100);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~RecordingPrinter() override {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const override { return dc_; }
  bool StartJob(const std::string& title) override {
    jobs_.push_back({title, 0, false});
    return true;
  }
  bool StartPage() override {
    ++jobs_.back().pages;
    return true;
  }
  bool EndPage() override { return true; }
  bool EndJob() override {
    jobs_.back().ended = true;
    return true;
  }

 private:
  std::vector<ScriptedFileDialogs::Job>& jobs_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};
}  // namespace

std::unique_ptr<PrintTarget> ScriptedFileDialogs::ChoosePrinter(HWND, int& copies) {
  if (print_copies <= 0) return nullptr;
  copies = print_copies;
  return std::make_unique<RecordingPrinter>(jobs);
}

AppHarness::AppHarness() = default;

AppHarness::~AppHarness() {
  if (app_ && !closed()) {
    messages.answers.assign(64, MsgResult::No);  // leave without saving anything
    Close();
  }
  app_.reset();
  PumpMessages();
}

void AppHarness::Start(std::vector<std::string> args) {
  AppOptions options;
  options.ini_path = ini_path();
  options.wintex_path = wintex_path();
  options.help_file = help_file;
  options.args = std::move(args);
  options.messages = &messages;
  options.file_dialogs = &dialogs;
  options.use_shipped_content = use_shipped_content;
  app_ = std::make_unique<Application>(std::move(options));
  if (!app_->Start()) throw std::runtime_error("the program did not start");
  PumpMessages();
}

void AppHarness::Close() {
  SendMessageA(main().hwnd(), WM_CLOSE, 0, 0);
  PumpMessages();
}

bool AppHarness::closed() const { return !app_ || !IsWindow(app_->MainForm().hwnd()); }

std::string AppHarness::IniValue(const char* section, const char* key) const {
  char buffer[2048];
  DWORD n = GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof(buffer), ini_path().c_str());
  return std::string(buffer, n);
}

MenuNode& AppHarness::Item(const char* name) {
  MenuNode* item = main().menu().Find(name);
  if (!item) throw std::invalid_argument(std::string("no menu item named ") + name);
  return *item;
}

void AppHarness::Command(UINT id) {
  StartCommand(id);
  // A TeX run goes on in the main loop after its command: the command is done when it ends.
  for (DWORD start = GetTickCount(); main().run().running() && GetTickCount() - start < kRunLimitMs;) PumpMessages(10);
  PumpMessages();
}

void AppHarness::StartCommand(UINT id) {
  SendMessageA(main().hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  PumpMessages();
}

namespace {
std::function<void()>& PendingModalAction() {
  static std::function<void()> action;
  return action;
}
void CALLBACK RunModalAction(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto action = std::move(PendingModalAction());
  PendingModalAction() = nullptr;
  if (action) action();
}
}  // namespace

void WhenModal(std::function<void()> fn, UINT delay_ms) {
  PendingModalAction() = std::move(fn);
  SetTimer(nullptr, 0, delay_ms, RunModalAction);
}

}  // namespace quillet::test
