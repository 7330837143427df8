#include "tex/tex_run_win.h"

#include <algorithm>
#include <cstdint>

#include "core/byte_scan.h"
#include "core/dos_time.h"
#include "core/sjis.h"
#include "core/text_decode.h"
#include "tex/log_scan.h"
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
constexpr DWORD kPollMs = 50;
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

bool TeXRunner::PumpWhileRunning(DWORD wait_ms) {
  HANDLE waits[2];
  DWORD count = 0;
  if (engine_) waits[count++] = engine_.get();
  if (folder_change_) waits[count++] = folder_change_.get();
  DWORD woken = MsgWaitForMultipleObjects(count, waits, FALSE, wait_ms, QS_ALLINPUT);
  if (folder_change_ && woken == WAIT_OBJECT_0 + count - 1) FindNextChangeNotification(folder_change_.get());
  MSG msg;
  while (!cancelled_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      cancelled_ = true;
      break;
    }
    HWND owner = host_.MessageOwner();
    bool for_owner = msg.hwnd == owner || IsChild(owner, msg.hwnd);
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && for_owner) {
      cancelled_ = true;
      break;
    }
    HandleQueuedMessage(nullptr, msg);
  }
  return !cancelled_;
}

void TeXRunner::EndEngine() {
  if (engine_) TerminateProcess(engine_.get(), 0);
  engine_.reset();
}

bool TeXRunner::RunTeX(const TeXRunRequest& request) {
  host_.ShowLogText({}, {});
  const std::string& source = request.source;
  if (request.only_if_needed && CompareFileAge(FileAge(ChangeFileExt(source, ".dvi")), FileAge(source)) > 0) {
    return true;
  }
  NameTaker taker = IsEngineBridge(request.engine_command) ? NameTaker::kEngineBridge : NameTaker::kEngine;
  if (NameCheck check = CheckCommandName(source, taker); check.problem != CommandName::Ok) {
    host_.messages().Error(host_.MessageOwner(), NameRefusedText(source, check, "TeX"));
    return false;
  }
  running_ = true;
  cancelled_ = false;
  bool ok = StartEngine(request.engine_command) && ConnectAndSend(request) && WaitForLog(request);
  EndEngine();
  running_ = false;
  return ok;
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
  return true;
}

bool TeXRunner::ConnectAndSend(const TeXRunRequest& request) {
  DdeClient dde;
  DWORD start = GetTickCount();
  // The engine was just started: after the first full attempt the program only connects
  // again (starting a program named after the service once more costs tens of
  // milliseconds each time under Wine). Between attempts it waits for messages or a
  // short time, never spinning.
  for (bool first = true; !(first ? dde.ConnectOrStart("wpvtex", "wpvtex") : dde.Connect("wpvtex", "wpvtex"));
       first = false) {
    bool engine_gone = WaitForSingleObject(engine_.get(), 0) == WAIT_OBJECT_0;
    if (!PumpWhileRunning(10)) return false;
    if (engine_gone || GetTickCount() - start > kConnectTimeoutMs) {
      host_.messages().Error(host_.MessageOwner(), kCannotConnect);
      return false;
    }
  }
  DeleteFileA(ChangeFileExt(request.source, ".log").c_str());
  dde.ExecuteAsync(EngineCommand(request.source, request.format_index));
  PumpWhileRunning(0);
  dde.Disconnect();
  return !cancelled_;
}

bool TeXRunner::WaitForLog(const TeXRunRequest& request) {
  const std::string& source = request.source;
  std::string log = ChangeFileExt(source, ".log");
  DWORD engine_ended_at = 0;
  // A file made in the source's folder ends the wait at once; the poll stays for the rest.
  folder_change_.reset(FindFirstChangeNotificationA(ExtractFilePath(source).c_str(), FALSE,
                                                   FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE));
  struct EndWatch {
    ChangeNotificationHandle& change;
    ~EndWatch() { change.reset(); }
  } end_watch{folder_change_};
  for (;;) {
    if (CompareFileAge(FileAge(log), FileAge(source)) > 0) {
      PumpWhileRunning(0);
      host_.SetExitEnabled(false);
      std::string bytes;
      LogRead read = ReadLogExclusively(log, bytes);
      if (read != LogRead::Failed) {
        host_.SetExitEnabled(true);
        bool clean = FinishWithLog(request, bytes);
        if (read == LogRead::Cut) {
          host_.messages().Warn(host_.MessageOwner(), "ﾛｸﾞﾌｧｲﾙ " + log + " は大きすぎるため、先頭の" +
                                                          kLogReadLimitText + "だけを読み込みました。");
        }
        return clean;
      }
    }
    if (!engine_ended_at && WaitForSingleObject(engine_.get(), 0) == WAIT_OBJECT_0) engine_ended_at = GetTickCount();
    if (engine_ended_at && GetTickCount() - engine_ended_at > kAfterEngineEndsMs) {
      host_.SetExitEnabled(true);
      bool written = CompareFileAge(FileAge(log), FileAge(source)) > 0;
      host_.messages().Error(host_.MessageOwner(),
                             written ? "ﾛｸﾞﾌｧｲﾙ " + log + " を読み込めません。"
                                     : "TeXが終了しましたが、ﾛｸﾞﾌｧｲﾙ " + log + " が作成されていません。");
      return false;
    }
    if (!PumpWhileRunning(kPollMs)) {
      host_.SetExitEnabled(true);
      return false;
    }
  }
}

bool TeXRunner::FinishWithLog(const TeXRunRequest& request, const std::string& log_bytes) {
  // The engine writes its log in the code it read the source in.
  Encoding encoding = LogEncoding(log_bytes, SourceFileEncoding(request.source));
  DecodedText decoded;
  std::string_view text = log_bytes;
  if (encoding != Encoding::kShiftJis) {
    DecodeText(log_bytes, encoding, SystemCodePage(), decoded);
    text = {decoded.text.data.get(), decoded.text.size};
  }
  LogWindow window = ScanTeXLog(text);
  host_.ShowLogText(window.text, std::move(decoded.chars));
  if (window.errors) host_.ShowErrors(request.source, window.jump_line);
  ShowLogInEditor(request);
  return !window.errors;
}

void TeXRunner::ShowLogInEditor(const TeXRunRequest& request) {
  if (!request.show_log) return;
  std::string command = EditorCommandLine(request.log_editor, ChangeFileExt(request.source, ".log"));
  if (WinExec(command.c_str(), SW_SHOW) <= 31) host_.messages().Error(host_.MessageOwner(), "ｴﾃﾞｨﾀを起動できません。");
}

void TeXRunner::OpenInViewer(const std::string& file_name, ViewerAction action, const ViewerRequest& viewer) {
  HWND owner = host_.MessageOwner();
  std::string dvi = ChangeFileExt(file_name, ".dvi");
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
  dde.ExecuteAsync(action == ViewerAction::Preview ? "[WinNormal]" : "[FilePrint]");
  PumpQueuedMessages();
  dde.Disconnect();
}

void TeXRunner::OpenManual(const ViewerRequest& viewer) {
  OpenInViewer(DigitalManualPath(viewer.command), ViewerAction::Preview, viewer);
}

}  // namespace quillet
