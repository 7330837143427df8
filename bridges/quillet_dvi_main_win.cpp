// quillet-dvi, the viewer bridge: it offers the DDE services and topics "WinDVI" and
// "yaWinDVI" as the viewers TeX Quillet knows do. "[FileOpen(NAME)]" names the .dvi file
// (bare or in double quotes); "[WinNormal]" shows it, "[FilePrint]" prints it and
// "[ForwardSearch(\"SOURCE\",LINE,PAGE)]" shows it where that line of source was set. The
// .dvi is first made into a PDF beside it with dvipdfmx (written aside, then moved in
// only when dvipdfmx succeeded: a failed run leaves the PDF shown and printed before).
// Under Wine the PDF is shown by a Linux viewer and printed with lp; on Windows the viewer
// set in the settings, or the system's program for PDF files, shows and prints it. The
// default viewer under Wine is zathura: light, it reads a changed PDF by itself, and it
// can be told a page and a place over D-Bus and hand a Ctrl+click back to TeX Quillet.
// Settings: section [Viewer] of quillet-dvi.ini beside the bridge, keys Convert, Show and
// Print (commands); [Bridge] Tools=Windows takes the Windows way under Wine too (the
// converter then a Windows program, Show the viewer's program file).
// Usage: quillet-dvi [--config FILE] [--errors FILE]
// With --errors, a message for the user is written to FILE (over the one before) instead
// of shown.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "bridges/bridge_commands.h"
#include "bridges/outside_run_win.h"
#include "bridges/sumatra_commands.h"
#include "bridges/sumatra_win.h"
#include "bridges/viewer_conversion.h"
#include "core/command_line.h"
#include "core/sjis.h"
#include "win/code_page_win.h"
#include "win/dde_server_win.h"
#include "win/file_io_win.h"
#include "win/handles_win.h"
#include "win/profile_win.h"
#include "win/program_loop_win.h"
#include "win/settings_location_win.h"
#include "win/system_dll_win.h"

namespace quillet {
namespace {

constexpr DWORD kConvertLimitMs = 120000, kPrintLimitMs = 60000;
// A viewer may hold the PDF for a moment while it reads it again; the user hears of one
// that keeps it within a second.
constexpr DWORD kHeldPdfLimitMs = 500;
constexpr std::uint64_t kMessagesLimit = 4u << 20;

// Handles messages (the DDE commands that arrive meanwhile are queued) until done()
// holds; false when the time is up.
bool WaitUntil(const std::function<bool()>& done, DWORD limit_ms) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limit_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  return true;
}

bool WaitForFile(const std::string& path, DWORD limit_ms) {
  return WaitUntil([&] { return FileExists(path); }, limit_ms);
}

// The lines of the converter's messages that tell what went wrong; from the Linux tools
// they are UTF-8.
std::string ConverterMessages(const std::string& path, bool linux_tools) {
  TextBlock block;
  if (ReadFileBlock(path, block, kMessagesLimit) != ReadStatus::Ok) return {};
  std::string lines = ConverterErrorLines({block.data.get(), block.size});
  return linux_tools ? ShiftJisFromUtf8(lines, SystemCodePage()) : lines;
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
      if (command.kind != ViewerCommand::Open && command.kind != ViewerCommand::Other) Act(command);
    }
    return INFINITE;
  }

  std::string Setting(const char* key, const char* fallback) const {
    std::string value = ProfileFile(settings_).ReadString("Viewer", key, "");
    return value.empty() ? fallback : value;
  }

  bool LinuxTools() const { return RunsLinuxTools(settings_); }

  void Tell(const std::string& text) const {
    if (errors_.empty()) {
      MessageBoxA(nullptr, text.c_str(), "ｴﾗｰ", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    } else {
      WriteWhole(errors_, text + "\n");
    }
  }

  void Act(const ViewerCommand& command) {
    if (dvi_.empty() || !FileExists(dvi_)) {
      Tell("DVIﾌｧｲﾙ " + dvi_ + " がありません。");
      return;
    }
    std::string pdf = ChangeFileExt(dvi_, ".pdf");
    if (!Convert(pdf, command.kind)) return;
    if (command.kind == ViewerCommand::Print) {
      Print(pdf);
    } else {
      Show(pdf, command);
    }
  }

  // The PDF is written in the bridge's folder beside the .dvi, then moved in whole.
  bool Convert(const std::string& pdf, ViewerCommand::Kind kind) {
    if (WrittenAfter(pdf, dvi_)) return true;  // made from this .dvi already: shown again at once
    std::string work = ExtractFilePath(dvi_) + ".quillet-tex\\";
    CreateDirectoryA(work.c_str(), nullptr);
    std::string made = work + ExtractFileName(pdf), marker = work + "converted", messages = work + "dvipdfmx.txt";
    for (const std::string& old : {marker, made, messages}) DeleteFileA(old.c_str());
    std::string converter = Setting("Convert", "dvipdfmx");
    bool linux_tools = LinuxTools();
    bool ran = linux_tools ? StartShellScript(work + "convert.sh", ConvertScript(converter, UnixFileName(dvi_),
                                                                                UnixFileName(made),
                                                                                UnixFileName(messages),
                                                                                UnixFileName(marker)))
                           : RunAndWait("cmd.exe /s /c \"" + converter + " -o \"" + made + "\" \"" + dvi_ + "\" > \"" +
                                            messages + "\" 2>&1\"",
                                        marker);
    if (!ran || !WaitForFile(marker, kConvertLimitMs)) {
      Tell("DVIﾌｧｲﾙ " + dvi_ + " をPDFにできません (" + converter + ")。");
      return false;
    }
    int status = std::atoi(ReadSmallFile(marker).c_str());
    bool made_well = status == 0 && FileExists(made);
    if (!made_well) Tell(ConversionFailedText(converter, status, ConverterMessages(messages, linux_tools), pdf));
    bool moved = made_well && MoveIn(made, pdf, kind);
    DeleteFileA(made.c_str());  // what a failed run or move left behind
    return moved;
  }

  static bool WrittenAfter(const std::string& file, const std::string& other) {
    WIN32_FILE_ATTRIBUTE_DATA a{}, b{};
    return GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &a) &&
           GetFileAttributesExA(other.c_str(), GetFileExInfoStandard, &b) &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) > 0;
  }

  // Moves the new PDF over the old one, trying again while another program holds it.
  bool MoveIn(const std::string& made, const std::string& pdf, ViewerCommand::Kind kind) const {
    DWORD error = 0;
    bool held = false;
    WaitUntil([&] {
      error = MoveFileExA(made.c_str(), pdf.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : GetLastError();
      held = error != 0 && HeldByAnotherProgram(pdf);
      return !held;
    }, kHeldPdfLimitMs);
    if (error == 0) return true;
    if (held) {
      Tell("PDFﾌｧｲﾙ " + pdf + " は他のﾌﾟﾛｸﾞﾗﾑが開いているため置き換えられません。ﾋﾞｭｰｱで閉じてから、もう一度" +
           (kind == ViewerCommand::Print ? "印刷" : "ﾌﾟﾚﾋﾞｭｰ") + "してください。");
    } else {
      Tell("PDFﾌｧｲﾙ " + pdf + " を置き換えられません (ｴﾗｰｺｰﾄﾞ " + std::to_string(error) + ")。");
    }
    return false;
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

  // command: a Show, or a Place that also names the page and the line of source.
  void Show(const std::string& pdf, const ViewerCommand& command) {
    std::string viewer = ProfileFile(settings_).ReadString("Viewer", "Show", "");
    int page = command.kind == ViewerCommand::Place ? command.page : 0;
    std::string quillet = ProgramFolder() + "Quillet.exe";
    bool shown = IsSumatraViewer(viewer) ? (page > 0 ? ShowPlaceInSumatra(viewer, pdf, command.file, command.line, page, quillet)
                                                     : ShowPdfInSumatra(viewer, pdf, quillet))
                 : LinuxTools() ? ShowOnLinux(pdf, viewer, command)
                               : ShowOnWindows(pdf, viewer, page);
    if (!shown) Tell("PDFﾌｧｲﾙ " + pdf + " を表示できません。");
  }

  bool ShowOnLinux(const std::string& pdf, const std::string& viewer, const ViewerCommand& command) {
    std::string work = ExtractFilePath(dvi_) + ".quillet-tex\\";
    int page = command.kind == ViewerCommand::Place ? command.page : 0;
    if (!viewer.empty() && viewer.substr(0, viewer.find(' ')) != "zathura") {
      return StartShellScript(work + "show.sh",
                              ShowScript(viewer, UnixFileName(pdf), UnixFileName(work + "viewer.pid"), page));
    }
    ZathuraShow show{.viewer = viewer.empty() ? "zathura" : viewer,
                     .pdf = UnixFileName(pdf),
                     .pid_file = UnixFileName(work + "viewer.pid"),
                     .bus_file = UnixFileName(work + "viewer.bus"),
                     .editor = InverseSearchCommand(),
                     .page = page,
                     .source = page > 0 ? UnixFileName(command.file) : std::string(),
                     .line = command.line};
    return StartShellScript(work + "show.sh", ZathuraScript(show));
  }

  // What a Ctrl+click in zathura runs: this Wine, with the same prefix (zathura has its
  // environment), starting TeX Quillet beside the bridge with the clicked line.
  static std::string InverseSearchCommand() {
    char loader[MAX_PATH] = "";
    DWORD n = GetEnvironmentVariableA("WINELOADER", loader, sizeof loader);  // a Linux name
    std::string wine = n > 0 && n < sizeof loader ? loader : "wine";
    return ShellQuote(wine) + " " + ShellQuote(UnixFileName(ProgramFolder() + "Quillet.exe")) +
           " -line %{line} \"%{input}\"";
  }

  static bool ShowOnWindows(const std::string& pdf, const std::string& viewer, int page) {
    if (viewer.empty()) return ShellOpen("open", pdf, "");
    std::string quoted = "\"" + pdf + "\"";
    std::string arguments = page > 0 ? PageArguments(viewer, quoted, page) : std::string();
    return ShellOpen(nullptr, viewer, arguments.empty() ? quoted : arguments);
  }

  void Print(const std::string& pdf) {
    if (!LinuxTools()) {
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
