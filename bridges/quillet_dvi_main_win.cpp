// quillet-dvi, the viewer bridge: it offers the DDE services and topics "WinDVI" and
// "yaWinDVI" as the viewers TeX Quillet knows do. "[FileOpen(NAME)]" names the .dvi file
// (bare or in double quotes); "[WinNormal]" shows it and "[FilePrint]" prints it. The
// .dvi is first made into a PDF beside it with dvipdfmx (written aside, then moved in).
// Under Wine the PDF is shown by a Linux viewer (mupdf by default: light, well kept, and
// it reads the file again when told, so showing the same document again updates the
// window already open) and printed with lp; on Windows the viewer set in the settings, or
// the system's program for PDF files, shows and prints it.
// Settings: section [Viewer] of quillet-dvi.ini beside the bridge, keys Convert, Show and
// Print (commands). Usage: quillet-dvi [--config FILE] [--errors FILE]
// With --errors, messages for the user are appended to FILE instead of shown.
#include <windows.h>
#include <shellapi.h>

#include <deque>
#include <string>

#include "bridges/bridge_commands.h"
#include "bridges/outside_run_win.h"
#include "core/command_line.h"
#include "core/sjis.h"
#include "win/dde_server_win.h"
#include "win/file_io_win.h"
#include "win/profile_win.h"
#include "win/program_loop_win.h"
#include "win/settings_location_win.h"
#include "win/system_dll_win.h"

namespace quillet {
namespace {

constexpr DWORD kConvertLimitMs = 120000, kPrintLimitMs = 60000;

// Handles messages (the DDE commands that arrive meanwhile are queued) until the file
// exists; false when the time is up.
bool WaitForFile(const std::string& path, DWORD limit_ms) {
  DWORD start = GetTickCount();
  while (!FileExists(path)) {
    if (GetTickCount() - start > limit_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

class ViewerBridge {
 public:
  explicit ViewerBridge(const CommandOptions& options)
      : settings_(options.Value("--config").empty() ? SettingsFileToUse(ProgramFolder() + "quillet-dvi.ini")
                                                    : options.Value("--config")),
        errors_(options.Value("--errors")) {}

  int Run() {
    DdeServer dde({"WinDVI", "yaWinDVI"}, [this](const std::string& text) { pending_.push_back(text); });
    if (!dde.offered()) return 1;
    RunLoopWhileParentLives([this] { return AfterWake(); });
    return 0;
  }

 private:
  DWORD AfterWake() {
    while (!pending_.empty()) {
      ViewerCommand command = ParseViewerCommand(pending_.front());
      pending_.pop_front();
      if (command.kind == ViewerCommand::Open) dvi_ = command.file;
      if (command.kind == ViewerCommand::Show || command.kind == ViewerCommand::Print) Act(command.kind);
    }
    return INFINITE;
  }

  std::string Setting(const char* key, const char* fallback) const {
    std::string value = ProfileFile(settings_).ReadString("Viewer", key, "");
    return value.empty() ? fallback : value;
  }

  void Tell(const std::string& text) const {
    if (errors_.empty()) {
      MessageBoxA(nullptr, text.c_str(), "ｴﾗｰ", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    } else {
      WriteWhole(errors_, text + "\n");
    }
  }

  void Act(ViewerCommand::Kind kind) {
    if (dvi_.empty() || !FileExists(dvi_)) {
      Tell("DVIﾌｧｲﾙ " + dvi_ + " がありません。");
      return;
    }
    std::string pdf = ChangeFileExt(dvi_, ".pdf");
    if (!Convert(pdf)) return;
    if (kind == ViewerCommand::Show) {
      Show(pdf);
    } else {
      Print(pdf);
    }
  }

  // The PDF is written in the bridge's folder beside the .dvi, then moved in whole.
  bool Convert(const std::string& pdf) {
    std::string work = ExtractFilePath(dvi_) + ".quillet-tex\\";
    CreateDirectoryA(work.c_str(), nullptr);
    std::string made = work + ExtractFileName(pdf), marker = work + "converted", messages = work + "dvipdfmx.txt";
    DeleteFileA(marker.c_str());
    DeleteFileA(made.c_str());
    std::string converter = Setting("Convert", "dvipdfmx");
    bool ran = UnderWine() ? StartShellScript(work + "convert.sh", ConvertScript(converter, UnixFileName(dvi_),
                                                                                UnixFileName(made),
                                                                                UnixFileName(messages),
                                                                                UnixFileName(marker)))
                           : RunAndWait(converter + " -o \"" + made + "\" \"" + dvi_ + "\"", marker);
    if (!ran || !WaitForFile(marker, kConvertLimitMs) || !FileExists(made) ||
        !MoveFileExA(made.c_str(), pdf.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      Tell("DVIﾌｧｲﾙ " + dvi_ + " をPDFにできません (" + converter + ")。");
      return false;
    }
    return true;
  }

  // On Windows: runs a program and writes its exit status to marker when it ends.
  bool RunAndWait(const std::string& command, const std::string& marker) const {
    StartedProgram program;
    if (!StartProgram(command, ExtractFilePath(dvi_), "", program)) return false;
    WaitForSingleObject(program.process.get(), kConvertLimitMs);
    DWORD code = 1;
    GetExitCodeProcess(program.process.get(), &code);
    return WriteWhole(marker, std::to_string(code));
  }

  void Show(const std::string& pdf) {
    std::string viewer = ProfileFile(settings_).ReadString("Viewer", "Show", "");
    if (UnderWine()) {
      std::string work = ExtractFilePath(dvi_) + ".quillet-tex\\";
      if (!StartShellScript(work + "show.sh", ShowScript(viewer.empty() ? "mupdf" : viewer, UnixFileName(pdf),
                                                         UnixFileName(work + "viewer.pid")))) {
        Tell("PDFﾌｧｲﾙ " + pdf + " を表示できません。");
      }
    } else if (!ShellOpen(viewer.empty() ? "open" : nullptr, viewer.empty() ? pdf : viewer, viewer.empty() ? "" : pdf)) {
      Tell("PDFﾌｧｲﾙ " + pdf + " を表示できません。");
    }
  }

  void Print(const std::string& pdf) {
    if (!UnderWine()) {
      if (!ShellOpen("print", pdf, "")) Tell("PDFﾌｧｲﾙ " + pdf + " を印刷できません。");
      return;
    }
    std::string work = ExtractFilePath(dvi_) + ".quillet-tex\\", marker = work + "printed";
    DeleteFileA(marker.c_str());
    std::string printer = Setting("Print", "lp");
    if (!StartShellScript(work + "print.sh", PrintScript(printer, UnixFileName(pdf), UnixFileName(marker))) ||
        !WaitForFile(marker, kPrintLimitMs)) {
      Tell("PDFﾌｧｲﾙ " + pdf + " を印刷できません。");
      return;
    }
    int status = std::atoi(ReadSmallFile(marker).c_str());
    if (status == 127) Tell("印刷のｺﾏﾝﾄﾞ '" + printer + "' がないため印刷できません。ﾌﾟﾘﾝﾀを設定してください。");
    else if (status != 0) Tell("PDFﾌｧｲﾙ " + pdf + " を印刷できません (" + printer + ")。");
  }

  // ShellExecute of a verb on a file, or of a program with the file as its argument.
  static bool ShellOpen(const char* verb, const std::string& target, const std::string& argument) {
    auto execute = SystemFunction<HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)>("shell32.dll",
                                                                                              "ShellExecuteA");
    if (!execute) return false;
    HINSTANCE result = execute(nullptr, verb, target.c_str(), argument.empty() ? nullptr : argument.c_str(), nullptr,
                               SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
  }

  std::string settings_, errors_;
  std::deque<std::string> pending_;
  std::string dvi_;
};

}  // namespace
}  // namespace quillet

int main() { return quillet::ViewerBridge(quillet::CommandOptions(GetCommandLineA())).Run(); }
