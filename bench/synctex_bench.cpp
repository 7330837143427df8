// SyncTeX data of a 500-page document (40 lines of type a page, each from its own source
// line, a chapter file a 50 pages), compressed as the engines write it: reading it into
// the reader's arrays, with the peak of the memory held beside the uncompressed size, and
// a forward and an inverse search in its middle.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "bench/peak_memory.h"
#include "bench/synctex_sample.h"
#include "tests/unit/gzip_text.h"
#include "tests/unit/iconv_code_page.h"
#include "tex/synctex_gzip.h"
#include "tex/synctex_reader.h"

namespace quillet {
namespace {

using namespace synctex_sample;

const std::string& Packed() {
  static const std::string packed = Gzip(Text("/home/u/book/./"));
  return packed;
}

const SynctexReader& Reader() {
  static const SynctexReader reader = [] {
    std::string text;
    SynctexText(Packed(), text);
    return SynctexReader(text);
  }();
  return reader;
}

void BM_IndexBuild500Pages(benchmark::State& state) {
  const std::string& packed = Packed();  // made once, outside what is measured
  std::size_t peak = 0, text_size = 0, nodes = 0;
  for (auto _ : state) {
    peak = std::max(peak, peak_memory::PeakDuring([&] {
      std::string text;
      SynctexText(packed, text);
      SynctexReader reader(text);
      text_size = text.size();
      nodes = reader.data().nodes.size();
      benchmark::DoNotOptimize(reader);
    }));
  }
  state.counters["gz_MB"] = static_cast<double>(packed.size()) / (1 << 20);
  state.counters["text_MB"] = static_cast<double>(text_size) / (1 << 20);
  state.counters["nodes"] = static_cast<double>(nodes);
  state.counters["peak_MB"] = static_cast<double>(peak) / (1 << 20);
  state.counters["peak_per_text_byte"] = static_cast<double>(peak) / static_cast<double>(text_size);
}
BENCHMARK(BM_IndexBuild500Pages)->Unit(benchmark::kMillisecond);

void BM_Forward(benchmark::State& state) {
  const SynctexReader& reader = Reader();
  const CodePage932& code_page = IconvCodePage();
  const int page = kPages / 2;
  for (auto _ : state) {
    SynctexForward got = reader.Forward("/home/u/book/chapters/ch" + std::to_string(Tag(page) - 2) + ".tex",
                                        "/home/u/book", SourceLine(page, 20), code_page);
    if (got.page != page) state.SkipWithError("forward search missed its page");
    benchmark::DoNotOptimize(got);
  }
}
BENCHMARK(BM_Forward)->Unit(benchmark::kMicrosecond);

void BM_Inverse(benchmark::State& state) {
  const SynctexReader& reader = Reader();
  for (auto _ : state) {
    SynctexInverse got = reader.Inverse(kPages / 2, 200, 300);
    if (!got.found) state.SkipWithError("inverse search found nothing");
    benchmark::DoNotOptimize(got);
  }
}
BENCHMARK(BM_Inverse)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillet

BENCHMARK_MAIN();
