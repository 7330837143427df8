// The bridges' two ways of running the tools, both taken under Wine: the Linux tools
// through /bin/sh (TeX Live's engine, latexmk and dvipdfmx; shell commands as viewer and
// printer), and the Windows programs ([Bridge] Tools=Windows: stand-ins in a folder of
// their own as a Windows TeX installation's programs, the engine in a job object, the
// viewer and printer started through ShellExecute). Each table runs over both ways.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "bridges/bridge_commands.h"
#include "bridges/outside_run_win.h"
#include "core/command_ids.h"
#include "core/sjis.h"
#include "tests/win/support/app_harness.h"
#include "tests/win/support/bridge_settings.h"
#include "tests/win/support/linux_run.h"
#include "tests/win/support/standins.h"
#include "tex/error_window_win.h"
#include "win/handles_win.h"

namespace quillet::test {
namespace {

enum class Tools { kLinux, kWindows };

std::string ErrorText(AppHarness& h) { return EditorText(h.app().ErrorWin().Memo); }

std::string Quoted(const std::string& name) { return '"' + name + '"'; }

// The file type .pdf opened and printed by the given commands ("%1": the file) for as long
// as it lives; what the registry held before comes back after.
class PdfFileType {
 public:
  PdfFileType(const std::string& open, const std::string& print) {
    had_type_ = RegQueryValueA(HKEY_CLASSES_ROOT, ".pdf", old_type_, &old_size_) == ERROR_SUCCESS;
    RegSetValueA(HKEY_CLASSES_ROOT, ".pdf", REG_SZ, kType, 0);
    RegSetValueA(HKEY_CLASSES_ROOT, (std::string(kType) + "\\shell\\open\\command").c_str(), REG_SZ, open.c_str(), 0);
    RegSetValueA(HKEY_CLASSES_ROOT, (std::string(kType) + "\\shell\\print\\command").c_str(), REG_SZ, print.c_str(),
                 0);
  }
  ~PdfFileType() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kType);
    if (had_type_) {
      RegSetValueA(HKEY_CLASSES_ROOT, ".pdf", REG_SZ, old_type_, 0);
    } else {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, ".pdf");
    }
  }
  PdfFileType(const PdfFileType&) = delete;
  PdfFileType& operator=(const PdfFileType&) = delete;

 private:
  static constexpr char kType[] = "QuilletTest.PdfFile";
  bool had_type_ = false;
  char old_type_[256] = "";
  LONG old_size_ = sizeof old_type_;
};

// How many processes of that program file run in this Wine prefix, whoever started them.
int ProcessesNamed(const char* exe_name) {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
    count += SameFileName(entry.szExeFile, exe_name);
  }
  return count;
}

class BridgePathTest : public testing::TestWithParam<Tools> {
 protected:
  // The Windows installation: the stand-in under the names of the engine and converter.
  void SetUp() override {
    for (const char* name : {"platex.exe", "dvipdfmx.exe"}) {
      ASSERT_TRUE(CopyFileA(StandInPath("stand_in_tex_tools.exe").c_str(), (tex_bin_ / name).c_str(), FALSE));
    }
  }

  bool windows() const { return GetParam() == Tools::kWindows; }

  // The engine bridge's table: the way, and more [Bridge] keys.
  std::string TeXTable(const std::string& bridge_keys) const {
    std::string table = std::string("[Bridge]\r\n") + (windows() ? "Tools=Windows\r\n" : "") + bridge_keys;
    return windows() ? table + "[Engines]\r\nplatex=" + tex_bin_ / "platex.exe" + "\r\n" : table;
  }

  // The viewer bridge's settings: the way, and its [Viewer] keys.
  std::string ViewerSettings(const std::string& viewer_keys) const {
    std::string windows_keys = std::string("[Bridge]\r\nTools=Windows\r\n[Viewer]\r\nConvert=") +
                               tex_bin_ / "dvipdfmx.exe" + "\r\n";
    return (windows() ? windows_keys : std::string("[Viewer]\r\n")) + viewer_keys;
  }

  // Engines still running that typeset the job (and, on Linux, the shells around them).
  int EnginesOf(const AppHarness& h, const std::string& job) const {
    if (windows()) return ProcessesNamed("platex.exe");
    std::string count = h.dir() / "engines.txt";
    return std::atoi(RunOnLinux(h.dir().path(),
                                "pgrep -fc -- " + ShellQuote("jobname=" + job) + " > " + ShellQuote(UnixFileName(count)),
                                count)
                         .c_str());
  }

  // A name of the job's own: an engine still running from elsewhere is not counted.
  static std::string Job(const char* what) {
    return std::string(what) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
  }

  // Starts TeX Quillet with the bridges and the pLaTeX source made 10 s old; answers its name.
  static std::string Start(AppHarness& h, const std::string& job, const std::string& body) {
    h.Start();
    std::string source = h.MakeFile(job + ".tex", "\\documentclass{jarticle}\r\n\\begin{document}\r\n" + body +
                                                      "\r\n\\end{document}\r\n");
    AgeFile(source, 10);
    EXPECT_TRUE(h.main().OpenDocument(source));
    return source;
  }

  TempDir tex_bin_;
};

// A run ends with the log and the .dvi beside the source and the error window saying what
// went wrong, with its line, and leaves no engine running: one that never ends is ended at
// the time limit, and one whose bridge is killed goes with it (on Windows, by the job
// object; on Linux, by the script when the bridge's heartbeat stops).
TEST_P(BridgePathTest, ATeXRunReportsAndLeavesNoEngine) {
  struct Row {
    const char* what;
    const char* body;  // line 3 of the source
    const char* bridge_keys;
    bool kill_bridge;
    const char* told;  // in the error window; empty: a clean run
    const char* line;  // the line it names
    bool on_linux = true;
  } rows[] = {
      {"clean", "Hello.", "", false, "", ""},
      {"error", "\\undefinedcommand here", "", false, "! Undefined control sequence.", "l.3 \\undefinedcommand"},
      {"hung", "\\def\\loopforever{\\loopforever}\\loopforever", "TimeLimit=2\r\n", false,
       "! TeXが 2 秒以内に終わらなかったので中止しました。", ""},
      {"bridge-killed", "\\def\\loopforever{\\loopforever}\\loopforever", "", true, "", ""},
      // TeX Live's engine cannot be made to crash.
      {"crashed", "\\crashnow", "", false, "! TeXがﾛｸﾞを書かずに終わりました (終了ｺｰﾄﾞ 0xC0000005)。", "", false},
      {"crashed mid-run", "\\crashlater", "", false, "TeXが異常終了しました (終了ｺｰﾄﾞ 0xC0000005)。", "", false},
  };
  for (const Row& r : rows) {
    if (!windows() && !r.on_linux) continue;
    SCOPED_TRACE(r.what);
    EndStandInsAtExit cleanup;  // the bridges too: a later row's are started with its own settings
    AppHarness h;
    SetBridges(h, TeXTable(r.bridge_keys), ViewerSettings(""));
    std::string job = Job(r.what), source = Start(h, job, r.body), base = h.dir() / job;
    if (r.kill_bridge) {
      h.StartCommand(kTeX1Item);
      ASSERT_TRUE(PumpUntil([&] { return EnginesOf(h, job) > 0; }, 20000));
      std::vector<DWORD> bridges = StartedProcesses(kEngineBridgeExe);
      ASSERT_EQ(bridges.size(), 1u);
      KernelHandle bridge(OpenProcess(PROCESS_TERMINATE, FALSE, bridges[0]));
      EXPECT_TRUE(TerminateProcess(bridge.get(), 1));
      EXPECT_TRUE(PumpUntil([&] { return EnginesOf(h, job) == 0; }, 15000));
      continue;
    }
    h.Command(kTeX1Item);
    EXPECT_EQ(h.messages.Texts(), "");
    std::string errors = ErrorText(h);
    if (*r.told) {
      EXPECT_NE(errors.find(r.told), std::string::npos) << errors;
      if (*r.line) {
        EXPECT_NE(errors.find(r.line), std::string::npos) << errors;
      }
    } else {
      EXPECT_EQ(errors, "");
      EXPECT_TRUE(FileExists(base + ".dvi"));
      EXPECT_EQ(ReadFileBytes(base + ".log").find(windows() ? "This is the stand-in TeX." : "This is e-pTeX"), 0u);
    }
    EXPECT_TRUE(FileExists(base + ".log"));
    EXPECT_TRUE(PumpUntil([&] { return EnginesOf(h, job) == 0; }, 5000));  // a killed group takes a moment
  }
}

// Preview and print make the PDF and hand it to the viewer or printer set (on Windows, the
// viewer's program file, or the commands of the PDF file type); a print that fails is
// told.
TEST_P(BridgePathTest, ThePdfReachesTheViewerAndPrinter) {
  struct Row {
    const char* what;
    UINT command;
    bool viewer_set;     // else the system's program for PDF files shows it (on Windows)
    bool printer_works;
    const char* made;    // beside the PDF, by the viewer or printer that got it
    const char* told;    // to the user, after the PDF's name
  } rows[] = {
      {"shown", kTeX2Item, true, true, ".shown", ""},
      // On Linux no viewer set means zathura, which bridges_test drives.
      {"shown by the PDF program", kTeX2Item, false, true, ".shown", ""},
      {"printed", kTeX3Item, true, true, ".printed", ""},
      {"print failed", kTeX3Item, true, false, "", " を印刷できません"},
  };
  const std::string viewer = StandInPath(kViewerExe);
  for (const Row& r : rows) {
    if (!windows() && !r.viewer_set) continue;
    SCOPED_TRACE(r.what);
    std::optional<PdfFileType> pdf_type;
    if (windows()) {
      std::string printer = r.printer_works ? viewer : tex_bin_ / "no-such-printer.exe";
      pdf_type.emplace(Quoted(viewer) + " \"%1\"", Quoted(printer) + " --print \"%1\"");
    }
    EndStandInsAtExit cleanup;
    AppHarness h;
    std::string shown = windows() ? (r.viewer_set ? "Show=" + viewer + "\r\n" : "")
                                  : "Show=sh -c 'printf %s \"$1\" > \"$1.shown\"' viewer\r\n";
    std::string printed = r.printer_works ? "Print=sh -c 'printf %s \"$1\" > \"$1.printed\"' lp\r\n" : "Print=false\r\n";
    SetBridges(h, TeXTable(""), ViewerSettings(shown + (windows() ? "" : printed)));
    std::string job = Job("view"), pdf = h.dir() / (job + ".pdf");
    Start(h, job, "Hello.");
    h.Command(r.command);
    EXPECT_EQ(ErrorText(h), "");
    if (*r.made) {
      ASSERT_TRUE(PumpUntil([&] { return FileExists(pdf + r.made); }, 30000)) << ReadFileBytes(ViewerErrors(h));
      EXPECT_NE(ReadFileBytes(pdf + r.made).find(windows() ? pdf : UnixFileName(pdf)), std::string::npos)
          << ReadFileBytes(pdf + r.made);
    }
    if (*r.told) {
      ASSERT_TRUE(PumpUntil([&] { return FileExists(ViewerErrors(h)); }, 20000));
      EXPECT_EQ(ReadFileBytes(ViewerErrors(h)).find("PDFﾌｧｲﾙ " + pdf + r.told), 0u) << ReadFileBytes(ViewerErrors(h));
      EXPECT_FALSE(FileExists(pdf + ".printed"));
    } else {
      EXPECT_FALSE(PumpUntil([&] { return FileExists(ViewerErrors(h)); }, 1000)) << ReadFileBytes(ViewerErrors(h));
    }
    EXPECT_EQ(ReadFileBytes(pdf).substr(0, 5), "%PDF-");
  }
}

INSTANTIATE_TEST_SUITE_P(Ways, BridgePathTest, testing::Values(Tools::kLinux, Tools::kWindows),
                         [](const testing::TestParamInfo<Tools>& info) {
                           return info.param == Tools::kLinux ? "LinuxTools" : "WindowsPrograms";
                         });

}  // namespace
}  // namespace quillet::test
