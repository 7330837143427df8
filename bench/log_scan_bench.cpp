// Reading a 50 MB log with 20,000 errors: picking out what the error window shows from
// its bytes, and only splitting it into lines for comparison; and 50 MB of empty lines,
// as an engine that loops writes them, alone and after a context block that no prompt
// closes, with the peak of the memory held beside the log's size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "core/byte_scan.h"
#include "bench/peak_memory.h"
#include "tex/log_scan.h"

namespace quillet {
namespace {

constexpr std::size_t kLogBytes = 50u << 20;
constexpr int kErrors = 20000;

// Each error is a "! " line, macro context, an "l." line, a few context lines and the
// engine's "? " prompt, between ordinary lines of the same mix the engine writes.
void AppendError(std::string& log, int n) {
  log += "! Undefined control sequence.\r\n<argument> \\foo" + std::to_string(n) + "\r\n";
  log += "l." + std::to_string(n + 1) + " 表示ソフトで\\foo" + std::to_string(n) + "\r\n";
  log += "                 が起きます。十分に予定を申す。  \r\n";
  log += "The control sequence at the end of the top line\r\n? \r\n";
}

const std::string& FiftyMegabyteLog() {
  static const std::string log = [] {
    std::string s;
    s.reserve(kLogBytes + 4096);
    s += "This is e-pTeX, Version 3.141592653-p4.0.0\r\nentering extended mode\r\n";
    std::string one_error;
    AppendError(one_error, kErrors);
    for (int n = 0; n < kErrors; ++n) {
      std::size_t end = (n + 1) * (kLogBytes / kErrors) - one_error.size();
      while (s.size() < end) {
        s += n % 2 ? "LaTeX Font Info:    Checking defaults for JY1/mc/m/n on input line 2.\r\n"
                   : "(/usr/share/texlive/texmf-dist/tex/platex/base/jarticle.cls 表ソ十予申)\r\n";
      }
      AppendError(s, n);
    }
    s += "No pages of output.\r\n";
    return s;
  }();
  return log;
}

// Scans the log over and over, with the time, the window's line count and the peak of
// the memory the scan held beyond the log itself.
template <class Scan>
void ScanLog(benchmark::State& state, const std::string& log, Scan scan) {
  std::size_t window = 0, peak = 0;
  for (auto _ : state) peak = std::max(peak, peak_memory::PeakDuring([&] { window = scan(log); }));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
  state.counters["log_MB"] = static_cast<double>(log.size()) / (1 << 20);
  state.counters["window_lines"] = static_cast<double>(window);
  state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["peak_per_log_byte"] = static_cast<double>(peak) / static_cast<double>(log.size());
}

std::size_t FromBytes(const std::string& log) {
  LogWindow window = ScanTeXLog(log);
  benchmark::DoNotOptimize(window);
  return window.line_count;
}

void BM_Scan50MB(benchmark::State& state) { ScanLog(state, FiftyMegabyteLog(), FromBytes); }
BENCHMARK(BM_Scan50MB)->Unit(benchmark::kMillisecond);

void BM_SplitOnly50MB(benchmark::State& state) {
  const std::string& log = FiftyMegabyteLog();
  for (auto _ : state) benchmark::DoNotOptimize(SplitTextLines(log));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
}
BENCHMARK(BM_SplitOnly50MB)->Unit(benchmark::kMillisecond);

// 50 MB of empty CR LF lines, after an ordinary start or after an error whose context
// block no prompt closes, so that every one of them belongs to the window.
const std::string& EmptyLines(bool open_block) {
  static std::string logs[2];
  std::string& s = logs[open_block];
  if (s.empty()) {
    s = "This is e-pTeX, Version 3.141592653-p4.0.0\r\nentering extended mode\r\n";
    if (open_block) s += "! Undefined control sequence.\r\nl.7 \\foo\r\n";
    s.reserve(kLogBytes);
    while (s.size() + 2 <= kLogBytes) s += "\r\n";
  }
  return s;
}

void BM_EmptyLines50MB(benchmark::State& state) { ScanLog(state, EmptyLines(false), FromBytes); }
void BM_EmptyLinesInOpenBlock50MB(benchmark::State& state) { ScanLog(state, EmptyLines(true), FromBytes); }
BENCHMARK(BM_EmptyLines50MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmptyLinesInOpenBlock50MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet

BENCHMARK_MAIN();
