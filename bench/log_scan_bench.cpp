// Reading a 50 MB log with 20,000 errors: splitting it into lines and picking out what
// the error window shows.
#include <benchmark/benchmark.h>

#include <string>

#include "core/byte_scan.h"
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

void BM_SplitAndScan50MB(benchmark::State& state) {
  const std::string& log = FiftyMegabyteLog();
  std::size_t window = 0;
  for (auto _ : state) {
    LogScan scan = ParseTeXLog(SplitTextLines(log));
    window = scan.window_lines.size();
    benchmark::DoNotOptimize(scan);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
  state.counters["log_MB"] = static_cast<double>(log.size()) / (1 << 20);
  state.counters["window_lines"] = static_cast<double>(window);
}
BENCHMARK(BM_SplitAndScan50MB)->Unit(benchmark::kMillisecond);

void BM_SplitOnly50MB(benchmark::State& state) {
  const std::string& log = FiftyMegabyteLog();
  for (auto _ : state) benchmark::DoNotOptimize(SplitTextLines(log));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
}
BENCHMARK(BM_SplitOnly50MB)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet

BENCHMARK_MAIN();
