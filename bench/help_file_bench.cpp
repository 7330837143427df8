// Reading help files far larger than the shipped one: a topic whose one paragraph runs to
// 20,000 and 100,000 lines, and 100,000 topics; with the peak of the memory the parse
// holds beside the file's size.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "bench/peak_memory.h"
#include "help/help_file.h"

namespace quillet {
namespace {

// One topic whose paragraph has the given number of lines, English and Japanese by turns,
// so both ways of joining lines are taken.
std::string LongParagraph(int lines) {
  std::string text = "[chapter 長い段落]\n[topic 1 長い段落]\n";
  for (int i = 0; i < lines; ++i) {
    text += i % 2 ? "The engine writes its log beside the source file\n" : "表示ソフトで十分に予定を申します。\n";
  }
  return text;
}

std::string ManyTopics(int topics) {
  std::string text = "[chapter 多くの項目]\n";
  for (int i = 0; i < topics; ++i) {
    std::string n = std::to_string(i);
    text += "[topic " + n + " 項目 " + n + "]\nThe text of topic " + n + ".\n\n";
  }
  return text;
}

void Parse(benchmark::State& state, const std::string& text) {
  std::size_t topics = 0, peak = 0;
  for (auto _ : state) {
    peak = std::max(peak, peak_memory::PeakDuring([&] {
      HelpFile file = ParseHelpFile(text);
      topics = file.topics.size();
      benchmark::DoNotOptimize(file);
    }));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["topics"] = static_cast<double>(topics);
  state.counters["input_MB"] = static_cast<double>(text.size()) / (1 << 20);
  state.counters["peak_per_input_byte"] = static_cast<double>(peak) / static_cast<double>(text.size());
}

void BM_OneParagraph(benchmark::State& state) {
  Parse(state, LongParagraph(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_OneParagraph)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Topics(benchmark::State& state) { Parse(state, ManyTopics(static_cast<int>(state.range(0)))); }
BENCHMARK(BM_Topics)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet

BENCHMARK_MAIN();
