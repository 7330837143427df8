#include "tex/tex_run_win.h"

#include "app/application_win.h"
#include "app/main_form_win.h"
#include "core/command_ids.h"
#include "core/dos_time.h"
#include "core/sjis.h"
#include "document/mdi_child_win.h"
#include "tex/error_window_win.h"
#include "tex/log_scan.h"
#include "tex/tex_commands.h"
#include "win/dde_client_win.h"
#include "win/file_io_win.h"
#include "win/message_loop_win.h"

namespace quillet {

namespace {
constexpr DWORD kConnectTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;
// How long a finished engine's log may take to appear or to become readable.
constexpr DWORD kAfterEngineEndsMs = 3000;
constexpr const char* kCannotConnect = "VirTeXと接続できません。";

std::string NameRefusedText(const std::string& name, CommandName problem) {
  return problem == CommandName::TooLong ? "ﾌｧｲﾙ名 " + name + " は長すぎてTeXに渡せません。"
                                         : "ﾌｧｲﾙ名 " + name + " には ] ) , が含まれているためTeXに渡せません。";
}

// The whole log, read with no sharing at all: this fails while the engine still writes it.
bool ReadLogExclusively(const std::string& path, std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return false;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  return ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
}
}  // namespace

bool TeXRunner::PumpWhileRunning(DWORD wait_ms) {
  HANDLE waits[1] = {engine_.get()};
  DWORD count = engine_ ? 1 : 0;
  MsgWaitForMultipleObjects(count, waits, FALSE, wait_ms, QS_ALLINPUT);
  MSG msg;
  while (!cancelled_ && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      cancelled_ = true;
      break;
    }
    HWND main = app_.MainForm().hwnd();
    bool for_main = msg.hwnd == main || IsChild(main, msg.hwnd);
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE && for_main) {
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

bool TeXRunner::RunTeX(bool only_if_needed) {
  TMainForm& main = app_.MainForm();
  Messages& messages = app_.messages();
  if (main.CurrentTeXMode == -1 || main.FormatCommandIds.empty()) {
    messages.Warn(main.hwnd(), "ﾌｫｰﾏｯﾄﾌｧｲﾙが作成されていません。\rまず、ﾌｫｰﾏｯﾄﾌｧｲﾙを作成して下さい。");
    return false;
  }
  if (!main.ActiveChild()) main.FileOpenItemClick();
  TMDIChild* doc = main.ActiveChild();
  if (!doc) return false;
  if (doc->modified()) {
    MsgResult answer = messages.Show(main.hwnd(), MsgKind::Confirmation,
                                     doc->FileName() + " は変更されています。\rﾌｧｲﾙに保存しますか?", kMsgYes | kMsgCancel);
    if (answer != MsgResult::Yes) return false;
    main.FileSaveItemClick(*doc);
  }
  SetWindowTextA(app_.ErrorWin().Memo, "");
  std::string source = doc->FileName();
  if (only_if_needed && CompareFileAge(FileAge(ChangeFileExt(source, ".dvi")), FileAge(source)) > 0) return true;
  if (CommandName problem = CheckCommandName(source, false); problem != CommandName::Ok) {
    messages.Error(main.hwnd(), NameRefusedText(source, problem));
    return false;
  }
  running_ = true;
  cancelled_ = false;
  bool ok = StartEngine() && ConnectAndSend(source) && WaitForLog(source);
  EndEngine();
  running_ = false;
  return ok;
}

bool TeXRunner::StartEngine() {
  std::string command = app_.env_settings().tex.ChosenPath();
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);  // the platform's own record size
  PROCESS_INFORMATION process{};
  if (command.empty() || !CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                         &process)) {
    app_.messages().Error(app_.MainForm().hwnd(), kCannotConnect);
    return false;
  }
  CloseHandle(process.hThread);
  engine_.reset(process.hProcess);
  return true;
}

bool TeXRunner::ConnectAndSend(const std::string& source) {
  DdeClient dde;
  DWORD start = GetTickCount();
  // Between attempts the program waits for messages or a short time, never spinning.
  while (!dde.ConnectOrStart("wpvtex", "wpvtex")) {
    bool engine_gone = WaitForSingleObject(engine_.get(), 0) == WAIT_OBJECT_0;
    if (!PumpWhileRunning(50)) return false;
    if (engine_gone || GetTickCount() - start > kConnectTimeoutMs) {
      app_.messages().Error(app_.MainForm().hwnd(), kCannotConnect);
      return false;
    }
  }
  DeleteFileA(ChangeFileExt(source, ".log").c_str());
  dde.ExecuteAsync(EngineCommand(source, app_.MainForm().CurrentTeXMode));
  PumpWhileRunning(0);
  dde.Disconnect();
  return !cancelled_;
}

bool TeXRunner::WaitForLog(const std::string& source) {
  TMainForm& main = app_.MainForm();
  std::string log = ChangeFileExt(source, ".log");
  DWORD engine_ended_at = 0;
  for (;;) {
    if (CompareFileAge(FileAge(log), FileAge(source)) > 0) {
      PumpWhileRunning(0);
      main.menu().Item(kFileExitItem).SetEnabled(false);
      std::string bytes;
      if (ReadLogExclusively(log, bytes)) {
        main.menu().Item(kFileExitItem).SetEnabled(true);
        return FinishWithLog(source, bytes);
      }
    }
    if (!engine_ended_at && WaitForSingleObject(engine_.get(), 0) == WAIT_OBJECT_0) engine_ended_at = GetTickCount();
    if (engine_ended_at && GetTickCount() - engine_ended_at > kAfterEngineEndsMs) {
      main.menu().Item(kFileExitItem).SetEnabled(true);
      bool written = CompareFileAge(FileAge(log), FileAge(source)) > 0;
      app_.messages().Error(main.hwnd(), written ? "ﾛｸﾞﾌｧｲﾙ " + log + " を読み込めません。"
                                                : "TeXが終了しましたが、ﾛｸﾞﾌｧｲﾙ " + log + " が作成されていません。");
      return false;
    }
    if (!PumpWhileRunning(kPollMs)) {
      main.menu().Item(kFileExitItem).SetEnabled(true);
      return false;
    }
  }
}

bool TeXRunner::FinishWithLog(const std::string& source, const std::string& log_bytes) {
  TMainForm& main = app_.MainForm();
  LogScan scan = ParseTeXLog(SplitLogLines(log_bytes));
  app_.ErrorWin().ShowLines(scan.window_lines);
  if (scan.errors) {
    main.menu().Item(kErrMesItem).SetChecked(true);
    ShowWindow(app_.ErrorWin().hwnd(), SW_SHOWNA);
    main.SelectLineInDocument(source, JumpLineNumber(scan.window_lines));
  }
  ShowLogInEditor(source);
  return !scan.errors;
}

void TeXRunner::ShowLogInEditor(const std::string& source) {
  const GeneralSettings& env = app_.env_settings().general;
  if (!env.show_log_file) return;
  std::string command = EditorCommandLine(env.editor_path, ChangeFileExt(source, ".log"));
  if (WinExec(command.c_str(), SW_SHOW) <= 31) app_.messages().Error(app_.MainForm().hwnd(), "ｴﾃﾞｨﾀを起動できません。");
}

void TeXRunner::OpenInViewer(const std::string& file_name, ViewerAction action) {
  const ProgramChoice& viewer = app_.env_settings().dvi;
  HWND main = app_.MainForm().hwnd();
  int kind = viewer.use;
  std::string dvi = ChangeFileExt(file_name, ".dvi");
  if (CommandName problem = CheckCommandName(dvi, ViewerQuotesName(kind)); problem != CommandName::Ok) {
    app_.messages().Error(main, NameRefusedText(dvi, problem));
    return;
  }
  const char* service = ViewerService(kind);
  DdeClient dde;
  if (!dde.ConnectOrStart(service, service)) {
    std::string command = viewer.ChosenPath();
    if (command.empty() || WinExec(command.c_str(), SW_SHOW) <= 31) {
      app_.messages().Error(main, "DVIﾄﾞﾗｲﾊﾞと接続できません。");
      return;
    }
  }
  dde.Disconnect();
  if (!dde.ConnectOrStart(service, service)) return;
  dde.ExecuteAsync(ViewerOpenCommand(dvi, kind));
  PumpQueuedMessages();
  dde.ExecuteAsync(action == ViewerAction::Preview ? "[WinNormal]" : "[FilePrint]");
  PumpQueuedMessages();
  dde.Disconnect();
}

void TeXRunner::DigitalItemClick() {
  OpenInViewer(DigitalManualPath(app_.env_settings().dvi.ChosenPath()), ViewerAction::Preview);
}

}  // namespace quillet
