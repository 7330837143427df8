// Moving between the source and the PDF through the whole program under Wine, on the
// SyncTeX data of a 500-page book whose chapter is the active document: forward search
// from the command until the viewer (the stand-in, already running) holds the place, with
// the data read before (warm) and changed since (cold); inverse search from a viewer's
// "Quillet.exe -line N FILE" until the running program has selected the line.
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <fstream>

#include "bench/program_bench_support.h"
#include "bench/synctex_sample.h"
#include "core/command_ids.h"
#include "tests/unit/gzip_text.h"
#include "tests/win/support/standins.h"

namespace quillet::bench {
namespace {

using namespace synctex_sample;

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

constexpr int kPage = kPages / 2 + 5;  // in chapter 5

// The book as a run of the engine bridge leaves it: the data beside the main file, and the
// list of what the run read, which names the chapter.
std::string MakeBook(const std::string& dir) {
  CreateDirectoryA((dir + "chapters").c_str(), nullptr);
  CreateDirectoryA((dir + ".quillet-tex").c_str(), nullptr);
  std::string chapter = dir + "chapters\\ch" + std::to_string(Tag(kPage) - 2) + ".tex", text;
  for (int line = 1; line <= kPagesPerChapter * kLinesPerPage; ++line) text += "第" + std::to_string(line) + "行\r\n";
  Write(chapter, text);
  Write(dir + "main.tex", "\\documentclass{jbook}\r\n");
  Write(dir + ".quillet-tex\\main.inputs", "chapters\\" + chapter.substr(chapter.rfind('\\') + 1) + "\r\n");
  Write(dir + "main.dvi", "dvi");
  Write(dir + "main.synctex.gz", Gzip(Text("../")));
  return chapter;
}

double Percentile95(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[(v.size() - 1) * 95 / 100];
}

void ForwardSearchTimes() {
  std::string dir = BenchDirectory("quillet-synctex-bench"), record = dir + "viewer.txt";
  std::string chapter = MakeBook(dir), packed = Gzip(Text("../"));
  test::ReadyEvent ready;
  test::StandInProcess viewer(test::ViewerCommandLine("WinDVI", record, ready.name()));
  ready.Wait(10000);
  ProgramInProcess program(dir, {chapter});
  program.app->env_settings().dvi.use = 0;
  program.app->env_settings().dvi.paths[0] = test::ViewerCommandLine("WinDVI", record);
  HWND memo = program.main().ActiveChild()->Memo;
  LRESULT at = SendMessageA(memo, EM_LINEINDEX, static_cast<WPARAM>(SourceLine(kPage, 20) - 1), 0);
  SendMessageA(memo, EM_SETSEL, static_cast<WPARAM>(at), at);
  std::vector<double> warm, cold;
  std::string last;
  for (int i = 0; i < 20; ++i) {
    bool changed = i % 2 == 0;
    if (changed) Write(dir + "main.synctex.gz", packed);  // read again on the next command
    std::size_t told = test::ReadRecord(record).size() + 2;  // the file, then the place
    double start = Now();
    program.main().OnCommand(kForwardSearchItem);
    test::WaitForRecordLines(record, told, 10000);
    (changed ? cold : warm).push_back(Now() - start);
    last = test::ReadRecord(record).back();
  }
  std::printf("forward search on a 500-page book, command to the viewer told \"%s\": warm %.1f ms (95%%: %.1f ms; "
              "goal < 100 ms), cold %.1f ms (95%%: %.1f ms; goal < 500 ms)\n",
              last.c_str(), Median(warm), Percentile95(warm), Median(cold), Percentile95(cold));
}

// Starts a program and waits until it has ended: ms, or -1 when it did not start.
double StartAndEnd(std::string command) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  double start = Now();
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) return -1;
  WaitForSingleObject(started.hProcess, 10000);
  double took = Now() - start;
  CloseHandle(started.hProcess);
  CloseHandle(started.hThread);
  return took;
}

void InverseSearchTimes() {
  std::string dir = BenchDirectory("quillet-synctex-bench");
  std::string chapter = MakeBook(dir);
  ProgramInProcess program(dir, {chapter});
  HWND memo = program.main().ActiveChild()->Memo;
  std::string quillet = test::StandInPath("Quillet.exe");
  std::vector<double> times;
  for (int i = 0; i < 10; ++i) {
    int line = 100 + i * 37;
    LRESULT wanted = SendMessageA(memo, EM_LINEINDEX, static_cast<WPARAM>(line - 1), 0);
    std::string command = "\"" + quillet + "\" -line " + std::to_string(line) + " \"" + chapter + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    double start = Now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) break;
    DWORD selected = 0;
    while (static_cast<LRESULT>(selected) != wanted && Now() - start < 10000) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
      Pump();
      SendMessageA(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&selected), 0);
    }
    times.push_back(Now() - start);
    WaitForSingleObject(started.hProcess, 10000);
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
  }
  // What Wine charges to start and end a program that loads only kernel32 and user32 (the
  // stand-in viewer, without its arguments); Quillet.exe loads comctl32 and comdlg32 too.
  std::vector<double> bare;
  for (int i = 0; i < 10; ++i) bare.push_back(StartAndEnd("\"" + test::StandInPath(test::kViewerExe) + "\""));
  std::printf("inverse search, \"Quillet.exe -line N FILE\" started until the running program selects the line: "
              "%.0f ms (median of %zu; goal < 150 ms); a program of kernel32 and user32 only, started and ended: %.0f ms\n",
              Median(times), times.size(), Median(bare));
}

}  // namespace
}  // namespace quillet::bench

int main() {
  quillet::bench::ForwardSearchTimes();
  quillet::bench::InverseSearchTimes();
  return 0;
}
