#include "tex/tex_run_win.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/byte_scan.h"
#include "core/dos_time.h"
#include "core/sjis.h"
#include "core/text_decode.h"
#include "tex/log_scan.h"
#include "tex/run_inputs.h"
#include "tex/source_encoding.h"
#include "tex/tex_commands.h"
#include "win/code_page_win.h"
#include "win/dde_client_win.h"
#include "win/file_io_win.h"
#include "win/message_dialog_win.h"
#include "win/message_loop_win.h"

namespace quillet {

namespace {
constexpr DWORD kConnectTimeoutMs = 5000;
constexpr DWORD kViewerStartMs = 5000;
constexpr DWORD kConnectPollMs = 10;
constexpr DWORD kPollMs = 50;
// How long an engine told to quit may take before it is ended outright.
constexpr DWORD kPoliteStopMs = 2000;
// How long a finished engine's log may take to appear or to become readable.
constexpr DWORD kAfterEngineEndsMs = 3000;
constexpr const char* kCannotConnect = "VirTeXと接続できません。";

// receiver: "TeX" or "DVIﾄﾞﾗｲﾊﾞ".
std::string NameRefusedText(const std::string& name, const NameCheck& check, const std::string& receiver) {
  std::string found = check.found == "  " ? "続けて並んだ空白" : "「" + check.found + "」";
  switch (check.problem) {
    case CommandName::TooLong:
      return "ﾌｧｲﾙ名 " + name + " は長すぎて" + receiver + "に渡せません。";
    case CommandName::TeXCannotRead:
      return "ﾌｧｲﾙ名 " + name + " には" + found + "が含まれているため、TeXがﾌｧｲﾙ名として読めません。" +
             "ﾌｧｲﾙ名を変えてください。";
    default:
      return "ﾌｧｲﾙ名 " + name + " には" + found + "が含まれているため" + receiver + "に渡せません。";
  }
}

// An engine caught in a loop can write a log of gigabytes; what a user can act on is at
// its start, so no more than this much of it is read and shown.
constexpr std::uint64_t kLogReadLimit = 64u << 20;
constexpr const char* kLogReadLimitText = "64MB";

enum class LogRead { Whole, Cut, Failed };

// The log, read with no sharing at all: this fails while the engine still writes it.
LogRead ReadLogExclusively(const std::string& path, std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return LogRead::Failed;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return LogRead::Failed;
  std::uint64_t whole = static_cast<std::uint64_t>(size.QuadPart);
  bytes.resize(static_cast<std::size_t>(std::min(whole, kLogReadLimit)));
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size()) {
    return LogRead::Failed;
  }
  return whole > kLogReadLimit ? LogRead::Cut : LogRead::Whole;
}
}  // namespace

TeXRunner::TeXRunner(TeXRunHost& host) : host_(host) {}

TeXRunner::~TeXRunner() { EndEngine(); }

void TeXRunner::SetPhase(Phase phase) {
  phase_ = phase;
  phase_started_ = GetTickCount();
  HWND owner = host_.MessageOwner();
  if (phase == Phase::Connecting) SetTimer(owner, kTimerId, kConnectPollMs, nullptr);
  if (phase == Phase::WaitingForLog || phase == Phase::Stopping) SetTimer(owner, kTimerId, kPollMs, nullptr);
  if (phase == Phase::Idle || phase == Phase::Finishing) KillTimer(owner, kTimerId);
}

bool TeXRunner::EngineEnded() const { return !engine_ || WaitForSingleObject(engine_.get(), 0) == WAIT_OBJECT_0; }

void TeXRunner::EndEngine() {
  if (engine_) TerminateProcess(engine_.get(), 0);
  engine_.reset();
}

void TeXRunner::Start(TeXRunRequest request) {
  if (running()) return;
  request_ = std::move(request);
  host_.ShowLogText({}, {}, {});
  const std::string& source = request_.source;
  auto saved = std::find(saved_during_run_.begin(), saved_during_run_.end(), source);
  if (request_.only_if_needed && saved == saved_during_run_.end() && DviUpToDate(source)) {
    Finish(RunResult::DviReady);
    return;
  }
  NameTaker taker = IsEngineBridge(request_.engine_command) ? NameTaker::kEngineBridge : NameTaker::kEngine;
  if (NameCheck check = CheckCommandName(source, taker); check.problem != CommandName::Ok) {
    host_.messages().Error(host_.MessageOwner(), NameRefusedText(source, check, "TeX"));
    Finish(RunResult::NoDvi);
    return;
  }
  if (saved != saved_during_run_.end()) saved_during_run_.erase(saved);
  source_age_ = FileAge(source);
  if (!StartEngine(request_.engine_command)) {
    Finish(RunResult::NoDvi);
    return;
  }
  dde_ = std::make_unique<DdeClient>();
  first_attempt_ = true;
  quit_posted_ = false;
  engine_ended_at_ = 0;
  SetPhase(Phase::Connecting);
  OnTimer();  // the first attempt at once
}

bool TeXRunner::StartEngine(const std::string& command) {
  std::string line = command;  // the platform may write into the command line
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);  // the platform's own record size
  PROCESS_INFORMATION process{};
  if (line.empty() ||
      !CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    host_.messages().Error(host_.MessageOwner(), kCannotConnect);
    return false;
  }
  CloseHandle(process.hThread);
  engine_.reset(process.hProcess);
  engine_thread_ = process.dwThreadId;
  return true;
}

// A step may show a message box, whose loop runs the timer again: that tick is passed over.
void TeXRunner::OnTimer() {
  if (ticking_) return;
  ticking_ = true;
  switch (phase_) {
    case Phase::Connecting: ConnectTick(); break;
    case Phase::WaitingForLog: WaitForLogTick(); break;
    case Phase::Stopping: StoppingTick(); break;
    default: break;
  }
  ticking_ = false;
}

// The engine was just started: after the first full attempt the program only connects
// again (starting a program named after the service once more costs tens of milliseconds
// each time under Wine).
void TeXRunner::ConnectTick() {
  bool connected = std::exchange(first_attempt_, false) ? dde_->ConnectOrStart("wpvtex", "wpvtex")
                                                        : dde_->Connect("wpvtex", "wpvtex");
  if (!connected) {
    if (EngineEnded() || GetTickCount() - phase_started_ > kConnectTimeoutMs) {
      host_.messages().Error(host_.MessageOwner(), kCannotConnect);
      Finish(RunResult::NoDvi);
    }
    return;
  }
  DeleteFileA(ChangeFileExt(request_.source, ".log").c_str());
  dde_->ExecuteAsync(EngineCommand(request_.source, request_.format_index));
  // The conversation is closed at the next tick, once the loop has let the command out.
  SetPhase(Phase::WaitingForLog);
}

void TeXRunner::WaitForLogTick() {
  dde_.reset();
  const std::string& source = request_.source;
  std::string log = ChangeFileExt(source, ".log");
  if (CompareFileAge(FileAge(log), source_age_) > 0) {
    host_.SetExitEnabled(false);
    std::string bytes;
    LogRead read = ReadLogExclusively(log, bytes);
    if (read != LogRead::Failed) {
      host_.SetExitEnabled(true);
      SetPhase(Phase::Finishing);
      bool clean = FinishWithLog(bytes);
      if (read == LogRead::Cut) {
        host_.messages().Warn(host_.MessageOwner(), "ﾛｸﾞﾌｧｲﾙ " + log + " は大きすぎるため、先頭の" +
                                                        kLogReadLimitText + "だけを読み込みました。");
      }
      Finish(clean ? RunResult::DviReady : RunResult::NoDvi);
      return;
    }
  }
  if (!engine_ended_at_ && EngineEnded()) engine_ended_at_ = GetTickCount();
  if (engine_ended_at_ && GetTickCount() - engine_ended_at_ > kAfterEngineEndsMs) {
    host_.SetExitEnabled(true);
    bool written = CompareFileAge(FileAge(log), source_age_) > 0;
    host_.messages().Error(host_.MessageOwner(),
                           written ? "ﾛｸﾞﾌｧｲﾙ " + log + " を読み込めません。"
                                   : "TeXが終了しましたが、ﾛｸﾞﾌｧｲﾙ " + log + " が作成されていません。");
    Finish(RunResult::NoDvi);
  }
}

void TeXRunner::Stop() {
  if (phase_ != Phase::Connecting && phase_ != Phase::WaitingForLog) return;
  dde_.reset();
  host_.SetExitEnabled(true);
  SetPhase(Phase::Stopping);
  OnTimer();  // at once, unless a step of the run is under way (it shows a message)
}

// The engine bridge ends its chain of tools and their processes when its loop takes
// WM_QUIT; an engine still starting has no queue yet, so the message is posted again.
void TeXRunner::StoppingTick() {
  if (!quit_posted_) quit_posted_ = PostThreadMessageA(engine_thread_, WM_QUIT, 0, 0);
  if (EngineEnded() || GetTickCount() - phase_started_ >= kPoliteStopMs) Finish(RunResult::Stopped);
}

// The engine is ended in every case, also after a clean run, so none stays behind.
void TeXRunner::Finish(RunResult result) {
  SetPhase(Phase::Finishing);
  if (source_age_ != -1 && FileAge(request_.source) != source_age_) saved_during_run_.push_back(request_.source);
  source_age_ = -1;
  dde_.reset();
  EndEngine();
  if (result == RunResult::DviReady && request_.then_view) {
    OpenInViewer(request_.source, *request_.then_view, request_.viewer);
  }
  SetPhase(Phase::Idle);
  host_.TeXRunEnded(result);
}

bool TeXRunner::FinishWithLog(const std::string& log_bytes) {
  // The engine writes its log in the code it read the source in.
  Encoding encoding = LogEncoding(log_bytes, SourceFileEncoding(request_.source));
  DecodedText decoded;
  std::string_view text = log_bytes;
  if (encoding != Encoding::kShiftJis) {
    DecodeText(log_bytes, encoding, SystemCodePage(), decoded);
    text = {decoded.text.data.get(), decoded.text.size};
  }
  LogWindow window = ScanTeXLog(text);
  host_.ShowLogText(window.text, std::move(decoded.chars), request_.source);
  if (window.errors) host_.ShowErrors(request_.source, window.jump_line);
  ShowLogInEditor();
  return !window.errors;
}

void TeXRunner::ShowLogInEditor() {
  if (!request_.show_log) return;
  std::string command = EditorCommandLine(request_.log_editor, ChangeFileExt(request_.source, ".log"));
  if (WinExec(command.c_str(), SW_SHOW) <= 31) host_.messages().Error(host_.MessageOwner(), "ｴﾃﾞｨﾀを起動できません。");
}

void TeXRunner::OpenInViewer(const std::string& file_name, ViewerAction action, const ViewerRequest& viewer) {
  SendToViewer(ChangeFileExt(file_name, ".dvi"), action == ViewerAction::Preview ? "[WinNormal]" : "[FilePrint]", viewer);
}

void TeXRunner::ShowPlace(const std::string& dvi, const std::string& place_command, const ViewerRequest& viewer) {
  SendToViewer(dvi, place_command, viewer);
}

// The viewer is told the file, then what to do with it.
void TeXRunner::SendToViewer(const std::string& dvi, const std::string& command, const ViewerRequest& viewer) {
  HWND owner = host_.MessageOwner();
  NameTaker taker = ViewerQuotesName(viewer.kind) ? NameTaker::kViewerQuoted : NameTaker::kViewerBare;
  if (NameCheck check = CheckCommandName(dvi, taker); check.problem != CommandName::Ok) {
    host_.messages().Error(owner, NameRefusedText(dvi, check, "DVIﾄﾞﾗｲﾊﾞ"));
    return;
  }
  const char* service = ViewerService(viewer.kind);
  DdeClient dde;
  bool started = dde.ConnectOrStart(service, service) ||
                 (!viewer.command.empty() && WinExec(viewer.command.c_str(), SW_SHOW) > 31);
  dde.Disconnect();
  // A viewer just started may take a moment to offer its service.
  DWORD start = GetTickCount();
  while (started && !dde.Connect(service, service)) {
    if (GetTickCount() - start > kViewerStartMs) started = false;
    if (started) WaitAndPumpMessages(50);
  }
  if (!started) {
    host_.messages().Error(owner, "DVIﾄﾞﾗｲﾊﾞと接続できません。");
    return;
  }
  dde.ExecuteAsync(ViewerOpenCommand(dvi, viewer.kind));
  PumpQueuedMessages();
  dde.ExecuteAsync(command);
  PumpQueuedMessages();
  dde.Disconnect();
}

void TeXRunner::OpenManual(const ViewerRequest& viewer) {
  OpenInViewer(DigitalManualPath(viewer.command), ViewerAction::Preview, viewer);
}

}  // namespace quillet
