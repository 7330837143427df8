// Timings of a real round trip under Wine: the sample document typeset through the
// chain (latexmk, two platex passes for its reference) and shown through the bridges, from
// the menu command to the viewer being started, beside running latexmk with the same
// configuration and dvipdfmx from the shell. The difference is what TeX Quillet and its
// bridges add. Then the same document previewed again unchanged: no tool runs.
#include <windows.h>

#include <cstdio>
#include <fstream>

#include "bench/program_bench_support.h"
#include "bridges/bridge_commands.h"
#include "bridges/outside_run_win.h"
#include "bridges/tex_chain.h"
#include "core/command_ids.h"
#include "tests/win/support/standins.h"
#include "win/file_io_win.h"

namespace quillet::bench {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Milliseconds since 1970, the clock the Linux side reads with date +%s%N too.
double EpochMs() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  return static_cast<double>(t.QuadPart - 116444736000000000ull) / 1e4;
}

// Waits until the file exists and holds something.
bool WaitFor(const std::string& path, DWORD limit_ms) {
  DWORD start = GetTickCount();
  while (Read(path).empty()) {
    if (GetTickCount() - start > limit_ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    Pump();
  }
  return true;
}

// latexmk (as the engine bridge configures it, from a fresh work folder) and dvipdfmx run
// from the shell on the same document, in milliseconds.
std::pair<double, double> ShellTimes(const std::string& dir) {
  std::string times = dir + "shell-times", work = dir + ".shell-work\\";
  CreateDirectoryA(work.c_str(), nullptr);
  std::ofstream(work + "quillet.latexmkrc", std::ios::binary)
      << LatexmkConfig(*ChainToolsFor("platex", Encoding::kShiftJis));
  DeleteFileA(times.c_str());
  std::string script = "cd '" + UnixFileName(work) + "' && rm -f sample.*\n"
                       "export TEXINPUTS=\"$(realpath ..):\"\n"
                       "t0=$(date +%s%N)\n"
                       "i=0; while [ $i -lt 40 ]; do echo; i=$((i+1)); done | " +
                       LatexmkCommand("latexmk", "quillet.latexmkrc", false, "sample", "sample.tex", Quoting::kShell) +
                       " >/dev/null 2>&1\n"
                       "t1=$(date +%s%N)\n"
                       "dvipdfmx sample.dvi >/dev/null 2>&1\n"
                       "t2=$(date +%s%N)\n"
                       "echo $(( (t1 - t0) / 1000 )) $(( (t2 - t1) / 1000 )) > '" + UnixFileName(times) + "'\n";
  StartShellScript(dir + "shell.sh", script);
  WaitFor(times, 60000);
  double latexmk_us = 0, dvipdfmx_us = 0;
  std::sscanf(Read(times).c_str(), "%lf %lf", &latexmk_us, &dvipdfmx_us);
  return {latexmk_us / 1000, dvipdfmx_us / 1000};
}

// Empties the bridge's work folder of the sample's files, so each run is a whole chain.
void ForgetRun(const std::string& dir) {
  WIN32_FIND_DATAA found;
  std::string work = dir + ".quillet-tex\\";
  HANDLE find = FindFirstFileA((work + "sample.*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    DeleteFileA((work + found.cFileName).c_str());
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

void RoundTrip() {
  std::string dir = BenchDirectory("quillet-bridges-bench"), sample = dir + "sample.tex", shown = dir + "shown";
  CopyFileA("sample.tex", sample.c_str(), FALSE);
  std::ofstream(dir + "wintex.ini", std::ios::binary) << "[TeXMode]\r\npLaTeX=platex\r\n";
  std::ofstream(dir + "quillet-dvi.ini", std::ios::binary)
      << "[Viewer]\r\nShow=sh -c 'date +%s%N > \"" + UnixFileName(shown) + "\"' viewer\r\n";
  std::vector<double> latexmk, dvipdfmx, trips, logged, converted, again, chain_started, chain_ended;
  for (int i = 0; i < 5; ++i) {
    auto [p, d] = ShellTimes(dir);
    latexmk.push_back(p);
    dvipdfmx.push_back(d);
  }
  ProgramInProcess program(dir, {sample});
  EnvSettings& env = program.app->env_settings();
  env.tex.paths[0] = "\"" + test::StandInPath(test::kEngineBridgeExe) + "\" --wintex \"" + dir + "wintex.ini\"";
  env.dvi.paths[0] = "\"" + test::StandInPath(test::kViewerBridgeExe) + "\" --config \"" + dir + "quillet-dvi.ini\"";
  double first = 0;
  for (int i = 0; i < 6; ++i) {
    DeleteFileA((dir + "sample.dvi").c_str());
    ForgetRun(dir);
    DeleteFileA(shown.c_str());
    double start = EpochMs();
    program.main().run().TeX2ItemClick();
    if (!WaitFor(shown, 60000)) {
      std::printf("the viewer was not started\n");
      return;
    }
    double trip = std::atof(Read(shown).c_str()) / 1e6 - start;
    auto written = [&](const char* name) {
      WIN32_FILE_ATTRIBUTE_DATA data{};
      GetFileAttributesExA((dir + name).c_str(), GetFileExInfoStandard, &data);
      ULARGE_INTEGER t{{data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
      return static_cast<double>(t.QuadPart - 116444736000000000ull) / 1e4 - start;
    };
    logged.push_back(written("sample.log"));
    chain_started.push_back(written(".quillet-tex\\run.sh"));
    chain_ended.push_back(written(".quillet-tex\\done"));
    converted.push_back(written("sample.pdf") - written("sample.log"));
    if (i == 0) {
      first = trip;
    } else {
      trips.push_back(trip);
    }
  }
  // Unchanged: the command finds the .dvi newer than everything the run read.
  for (int i = 0; i < 5; ++i) {
    DeleteFileA(shown.c_str());
    double start = EpochMs();
    program.main().run().TeX2ItemClick();
    if (!WaitFor(shown, 60000)) return;
    again.push_back(std::atof(Read(shown).c_str()) / 1e6 - start);
  }
  double shell = Median(latexmk) + Median(dvipdfmx);
  std::printf("sample typeset through the chain and shown from the menu: %.0f ms (first, viewer bridge started: "
              "%.0f ms); the shell's latexmk %.0f ms + dvipdfmx %.0f ms = %.0f ms\n",
              Median(trips), first, Median(latexmk), Median(dvipdfmx), shell);
  std::printf("TeX Quillet's own overhead of the round trip: %.0f ms, %.0f%% (first: %.0f ms) (goal < 300 ms, < 10%%)\n",
              Median(trips) - shell, 100 * (Median(trips) - shell) / shell, first - shell);
  std::printf("  of which: command to the log written %.0f ms (latexmk %.0f ms), log to the PDF written %.0f ms "
              "(dvipdfmx %.0f ms), PDF to the viewer started %.0f ms\n",
              Median(logged), Median(latexmk), Median(converted), Median(dvipdfmx),
              Median(trips) - Median(logged) - Median(converted));
  std::printf("  the log: the chain started by the engine bridge at %.0f ms, ended at %.0f ms, the log placed at %.0f ms\n",
              Median(chain_started), Median(chain_ended), Median(logged));
  std::printf("the same preview again, unchanged: %.0f ms to the viewer started (no tool runs; the PDF made "
              "before is shown)\n",
              Median(again));
  test::EndStartedProcesses(test::kViewerBridgeExe);
}

}  // namespace
}  // namespace quillet::bench

int main() {
  quillet::bench::RoundTrip();
  return 0;
}
