// SyncTeX data of a 500-page document (40 lines of type a page, each from its own source
// line, a chapter file a 50 pages), compressed as the engines write it: reading it into
// the reader's arrays, with the peak of the memory held beside the uncompressed size, and
// a forward and an inverse search in its middle.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "bench/peak_memory.h"
#include "tests/unit/gzip_text.h"
#include "tests/unit/iconv_code_page.h"
#include "tex/synctex_gzip.h"
#include "tex/synctex_reader.h"

namespace quillet {
namespace {

constexpr int kPages = 500, kLinesPerPage = 40, kWords = 10, kPagesPerChapter = 50;

int Tag(int page) { return 2 + (page - 1) / kPagesPerChapter; }
int SourceLine(int page, int line) { return ((page - 1) % kPagesPerChapter) * kLinesPerPage + line + 1; }

std::string Text() {
  std::string s = "SyncTeX Version:1\nInput:1:/home/u/book/./main.tex\n";
  for (int chapter = 0; chapter * kPagesPerChapter < kPages; ++chapter)
    s += "Input:" + std::to_string(chapter + 2) + ":/home/u/book/./chapters/ch" + std::to_string(chapter) + ".tex\n";
  s += "Output:dvi\nMagnification:1000\nUnit:1\nX Offset:4736287\nY Offset:4736287\nContent:\n";
  for (int page = 1; page <= kPages; ++page) {
    std::string tag = std::to_string(Tag(page));
    s += "{" + std::to_string(page) + "\n[1,9:4063232,42532864:21430272,38797312,0\n";
    for (int line = 0; line < kLinesPerPage; ++line) {
      std::string at = tag + "," + std::to_string(SourceLine(page, line)) + ":";
      std::string v = std::to_string(4245152 + line * 983040);
      s += "(" + at + "4063232," + v + ":21430272,455111,127431\n";
      for (int word = 0; word < kWords; ++word) {
        std::string h = std::to_string(4063232 + word * 2100000);
        s += "x" + at + h + "," + v + "\ng" + at + std::to_string(4063232 + word * 2100000 + 218453) + "," + v + "\n";
      }
      s += ")\n";
    }
    s += "]\n}" + std::to_string(page) + "\n";
  }
  return s + "Postamble:\nCount:0\n";
}

const std::string& Packed() {
  static const std::string packed = Gzip(Text());
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
