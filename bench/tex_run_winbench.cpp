// Timings of a TeX run under Wine with the stand-in engine: the program's own overhead
// from the command to the execute string arriving and from the log's release to the first
// error selected, the processor time the program takes while it waits for a log, a typed
// character while no run and while a long run goes on, a preview of an unchanged document
// whose last run read many files, and the error window filled from a 50 MB log with
// 20,000 errors.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

#include "app/application_win.h"
#include "app/main_form_win.h"
#include "bench/program_bench_support.h"
#include "core/byte_scan.h"
#include "core/command_ids.h"
#include "document/mdi_child_win.h"
#include "tests/win/support/standins.h"
#include "tex/error_window_win.h"
#include "tex/log_scan.h"
#include "win/message_loop_win.h"

namespace quillet::bench {
namespace {

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Calls check every few milliseconds while the program runs (its waits handle messages).
class Watch {
 public:
  explicit Watch(std::function<void()> check) : check_(std::move(check)) {
    Current() = this;
    timer_ = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) { Current()->check_(); });
  }
  ~Watch() {
    KillTimer(nullptr, timer_);
    Current() = nullptr;
  }

 private:
  static Watch*& Current() {
    static Watch* current = nullptr;
    return current;
  }
  std::function<void()> check_;
  UINT_PTR timer_;
};

double ProcessCpuMs() {
  FILETIME c, e, k, u;
  GetProcessTimes(GetCurrentProcess(), &c, &e, &k, &u);
  auto ms = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e4; };
  return ms(k) + ms(u);
}

// The run goes on in the main loop after its command: this is that loop until it ends.
void RunToEnd(TMainForm& main) {
  while (main.run().running()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    PumpQueuedMessages();
  }
}

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

std::string ErrorLog(int errors, std::size_t filler_lines) {
  std::string log = "This is e-pTeX, Version 3.141592653\r\n(./main.tex\r\n";
  for (int e = 0; e < errors; ++e) {
    for (std::size_t i = 0; i < filler_lines; ++i) log += "Overfull \\hbox (1.0pt too wide) in paragraph at lines 10--12\r\n";
    log += "! Undefined control sequence.\r\nl." + std::to_string(3 + e % 40) + " \\foo\r\n         bar\r\n? \r\n";
  }
  return log;
}

// The program with the engine command line in its settings and one format.
struct Program : ProgramInProcess {
  Program(const std::string& dir, const std::string& engine, const std::string& source)
      : ProgramInProcess(Prepare(dir, engine), source.empty() ? std::vector<std::string>{} : std::vector{source}) {}
  static const std::string& Prepare(const std::string& dir, const std::string& engine) {
    Write(dir + "quillet.ini", "[TeX]\r\nUse=0\r\nｲﾝﾌﾟﾚｽ  WpvTeX=" + engine + "\r\n");
    Write(dir + "wintex.ini", "[TeXMode]\r\nLaTeX=lplain\r\n");
    return dir;
  }
};

void RunOverheads() {
  std::string dir = BenchDirectory("quillet-run-bench"), record = dir + "engine.txt", log = dir + "error.log", source = dir + "main.tex";
  std::string text;
  for (int i = 1; i <= 50; ++i) text += "line " + std::to_string(i) + "\r\n";
  Write(source, text);
  Write(log, ErrorLog(1, 3));
  std::vector<double> to_command, to_selection;
  for (int i = 0; i < 9; ++i) {
    test::AgeFile(source, 10);
    DeleteFileA(record.c_str());
    // An engine already offering its service; the one the program starts only adds itself.
    test::ReadyEvent ready;
    test::StandInProcess running(test::EngineCommandLine({.record = record, .log = log, .hold_ms = 300, .ready = ready.name()}));
    ready.Wait(10000);
    Program program(dir, test::EngineCommandLine({.no_service = true}), source);
    std::string log_name = dir + "main.log";
    double start = Now(), command_at = 0, released_at = 0, selected_at = 0;
    HWND memo = program.app->MainForm().ActiveChild()->Memo;
    Watch watch([&] {
      if (!command_at && !test::ReadRecord(record).empty()) command_at = Now();
      if (command_at && !released_at) {
        HANDLE f = CreateFileA(log_name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
          CloseHandle(f);
          released_at = Now();
        }
      }
      DWORD sel_start = 0;
      SendMessageA(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&sel_start), 0);
      if (released_at && !selected_at && sel_start > 0) selected_at = Now();
    });
    program.app->MainForm().OnCommand(kTeX1Item);
    RunToEnd(program.main());
    if (command_at && released_at && selected_at) {
      to_command.push_back(command_at - start);
      to_selection.push_back(selected_at - released_at);
    }
    test::EndStartedProcesses(test::kEngineExe);
  }
  std::printf("run overhead: command to execute string %.0f ms, log released to error selected %.0f ms "
              "(medians of %zu; goals < 150 ms each)\n",
              Median(to_command), Median(to_selection), to_command.size());
}

void WaitingCpu() {
  std::string dir = BenchDirectory("quillet-run-bench"), source = dir + "wait.tex";
  Write(source, "x\r\n");
  test::AgeFile(source, 10);
  Program program(dir, test::EngineCommandLine({.delay_ms = 4000}), source);
  double wall = Now(), cpu = ProcessCpuMs();
  program.app->MainForm().OnCommand(kTeX1Item);
  RunToEnd(program.main());
  wall = Now() - wall;
  cpu = ProcessCpuMs() - cpu;
  std::printf("processor use while waiting for a log: %.1f%% of one core over %.1f s (goal < 2%%)\n",
              100.0 * cpu / wall, wall / 1000);
  test::EndStartedProcesses(test::kEngineExe);
}

// One typed character through the main loop, from its message posted until the editor
// holds it and has painted, typed at a typist's pace so that the run's timer falls between
// keys as it would.
void TypeAndTime(HWND memo, int count, std::vector<double>& times) {
  for (int i = 0; i < count; ++i) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5 + i % 7, QS_ALLINPUT);
    PumpQueuedMessages();
    LRESULT length = SendMessageA(memo, WM_GETTEXTLENGTH, 0, 0);
    double start = Now();
    PostMessageA(memo, WM_CHAR, 'a', 1);
    MSG msg;
    while (SendMessageA(memo, WM_GETTEXTLENGTH, 0, 0) == length || GetUpdateRect(memo, nullptr, FALSE)) {
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) HandleQueuedMessage(nullptr, msg);
    }
    times.push_back(Now() - start);
  }
}

// Rounds without and with a run take turns, so that the machine's changing load falls on
// both alike.
void TypingDuringARun() {
  std::string dir = BenchDirectory("quillet-run-bench"), source = dir + "typing.tex";
  Write(source, MakeTeXText(1 << 20));
  test::AgeFile(source, 10);
  Program program(dir, test::EngineCommandLine({.delay_ms = 600000}), source);
  TMDIChild& doc = *program.main().ActiveChild();
  SendMessageA(doc.Memo, EM_SETSEL, 5000, 5000);
  std::vector<double> idle, running;
  bool ran_throughout = true;
  for (int round = 0; round < 4; ++round) {
    TypeAndTime(doc.Memo, 100, idle);
    doc.SetModified(false);
    program.main().OnCommand(kTeX1Item);
    for (double until = Now() + 300; Now() < until;) WaitAndPumpMessages(10);  // past the connection
    TypeAndTime(doc.Memo, 100, running);
    ran_throughout = ran_throughout && program.main().run().running();
    SendMessageA(program.main().hwnd(), WM_COMMAND, kStopTeXItem, 0);  // as the menu sends it
    RunToEnd(program.main());
  }
  std::printf("typed character in a 1 MB document until painted, through the main loop: idle %.3f ms "
              "(95%%: %.3f ms), while a run goes on %.3f ms (95%%: %.3f ms)%s: %.2fx (goal within 1.5x)\n",
              Median(idle), Percentile(idle, 0.95), Median(running), Percentile(running, 0.95),
              ran_throughout ? "" : " [a run ended early]", Median(running) / Median(idle));
  doc.SetModified(false);
  test::EndStartedProcesses(test::kEngineExe);
}

// Typeset and preview an unchanged document whose last run read 50 files: the engine is
// skipped after the files' ages are read, and the viewer (already running) takes the .dvi.
void UnchangedPreview() {
  std::string dir = BenchDirectory("quillet-run-bench"), source = dir + "book.tex", record = dir + "viewer.txt";
  Write(source, "\\documentclass{book}\r\n");
  test::AgeFile(source, 20);
  CreateDirectoryA((dir + ".quillet-tex").c_str(), nullptr);
  std::string list;
  for (int i = 0; i < 50; ++i) {
    std::string chapter = "chapter" + std::to_string(i) + ".tex";
    Write(dir + chapter, "\\chapter{x}\r\n");
    test::AgeFile(dir + chapter, 20);
    list += chapter + "\r\n";
  }
  Write(dir + ".quillet-tex\\book.inputs", list);
  Write(dir + "book.dvi", "dvi");
  test::ReadyEvent ready;
  test::StandInProcess viewer(test::ViewerCommandLine("WinDVI", record, ready.name()));
  ready.Wait(10000);
  Program program(dir, test::EngineCommandLine({}), source);
  program.app->env_settings().dvi.paths[0] = test::ViewerCommandLine("WinDVI", record);
  std::vector<double> times;
  for (int i = 0; i < 20; ++i) {
    double start = Now();
    program.main().OnCommand(kTeX2Item);
    RunToEnd(program.main());
    times.push_back(Now() - start);
  }
  bool skipped = test::StartedProcesses(test::kEngineExe).empty();
  std::printf("preview of an unchanged document with 50 listed inputs, command to done: %.1f ms (median of %zu)%s\n",
              Median(times), times.size(), skipped ? "" : " [the engine ran]");
}

void ErrorWindowFill() {
  std::string dir = BenchDirectory("quillet-run-bench");
  std::string log = ErrorLog(20000, 42);
  Program program(dir, "", "");
  std::vector<double> times;
  for (int i = 0; i < 3; ++i) {
    double start = Now();
    TErrorWin& window = program.app->ErrorWin();
    window.ShowText(ScanTeXLog(log).text);
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.Memo);
    times.push_back(Now() - start);
  }
  std::printf("error window filled from a %.1f MB log with 20,000 errors: %.0f ms (goal < 2000 ms)\n",
              static_cast<double>(log.size()) / (1 << 20), Median(times));
}

}  // namespace
}  // namespace quillet::bench

int main() {
  quillet::bench::RunOverheads();
  quillet::bench::WaitingCpu();
  quillet::bench::TypingDuringARun();
  quillet::bench::UnchangedPreview();
  quillet::bench::ErrorWindowFill();
  return 0;
}
