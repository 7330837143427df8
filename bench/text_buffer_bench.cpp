// TextBuffer at 10 MB: edits at the end and in the middle, line lookups, loading, and
// the memory held per byte of text; word movement across a line of 100,000 characters
// whose two bytes both lie in the lead-byte range, with the memory it takes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>

#include "bench/peak_memory.h"
#include "core/text_buffer.h"
#include "core/text_words.h"

namespace quillet {
namespace {

// About 10 MB of Japanese and ASCII lines with CR LF breaks.
const std::string& TenMegabytes() {
  static const std::string text = [] {
    std::string s;
    s.reserve(10 << 20);
    for (int i = 0; s.size() < (10u << 20); ++i) {
      s += i % 2 ? "\\section{日本語の見出し}本文の行です。表ソポ" : "Plain ASCII text of a TeX source, line ";
      s += std::to_string(i) + "\r\n";
    }
    return s;
  }();
  return text;
}

TextBuffer Loaded() {
  TextBuffer b;
  b.set_limit(214748364);
  b.SetText(TenMegabytes());
  return b;
}

void BM_SetText10MB(benchmark::State& state) {
  TextBuffer b;
  for (auto _ : state) b.SetText(TenMegabytes());
  state.counters["memory_ratio"] = static_cast<double>(b.MemoryBytes()) / static_cast<double>(b.size());
}
BENCHMARK(BM_SetText10MB)->Unit(benchmark::kMillisecond);

// One typed character followed by Backspace, so the text keeps its size.
void TypeAndErase(benchmark::State& state, double where) {
  TextBuffer b = Loaded();
  std::size_t pos = b.SnapBack(static_cast<std::size_t>(static_cast<double>(b.size()) * where));
  b.Select(pos, pos);
  for (auto _ : state) {
    b.Type("x");
    b.DeleteBackward();
  }
  state.counters["memory_ratio"] = static_cast<double>(b.MemoryBytes()) / static_cast<double>(b.size());
}
void BM_TypeAndEraseAtEnd(benchmark::State& state) { TypeAndErase(state, 1.0); }
void BM_TypeAndEraseInMiddle(benchmark::State& state) { TypeAndErase(state, 0.5); }
BENCHMARK(BM_TypeAndEraseAtEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeAndEraseInMiddle)->Unit(benchmark::kMicrosecond);

// A caret jump across the text, then an edit there: the gap and the line index follow.
void BM_EditAtRandomPlaces(benchmark::State& state) {
  TextBuffer b = Loaded();
  std::mt19937 rng(1);
  for (auto _ : state) {
    std::size_t pos = b.SnapBack(rng() % b.size());
    b.Select(pos, pos);
    b.Type("\r\n");
    b.DeleteBackward();
  }
}
BENCHMARK(BM_EditAtRandomPlaces)->Unit(benchmark::kMicrosecond);

void BM_LineLookups(benchmark::State& state) {
  TextBuffer b = Loaded();
  std::size_t middle = b.size() / 2;
  b.Select(middle, middle);
  b.Type("x");  // the line index now has its gap in the middle
  std::mt19937 rng(2);
  for (auto _ : state) {
    std::size_t pos = rng() % b.size();
    std::size_t line = b.LineOf(pos);
    benchmark::DoNotOptimize(b.LineStart(line));
    benchmark::DoNotOptimize(b.LineEnd(line));
  }
  state.counters["lines"] = static_cast<double>(b.LineCount());
}
BENCHMARK(BM_LineLookups)->Unit(benchmark::kMicrosecond);

void BM_FindAbsentText(benchmark::State& state) {
  TextBuffer b = Loaded();
  for (auto _ : state) benchmark::DoNotOptimize(b.Find("\\subparagraph", 0, b.size(), true));
}
BENCHMARK(BM_FindAbsentText)->Unit(benchmark::kMillisecond);

void BM_FindAbsentTextIgnoringCase(benchmark::State& state) {
  TextBuffer b = Loaded();
  for (auto _ : state) benchmark::DoNotOptimize(b.Find("\\Subparagraph", 0, b.size(), false));
}
BENCHMARK(BM_FindAbsentTextIgnoringCase)->Unit(benchmark::kMillisecond);

// Separator lines: "＝" (0x81 0x81) and "─" (0x84 0x9F), 100,000 of them on one line
// between two short lines. Every byte of the run could lead a character.
TextBuffer SeparatorLine(const char* ch) {
  std::string line;
  for (int i = 0; i < 100000; ++i) line += ch;
  TextBuffer b;
  b.set_limit(214748364);
  std::string text = "x\r\n";
  text += line;
  text += "\r\ny";
  b.SetText(text);
  return b;
}

// Ctrl+Left from the end of the line to its start, Ctrl+Right back, and a double-click
// in the middle (the word is the whole run).
void WordMoves(benchmark::State& state, const char* ch, int move) {
  TextBuffer b = SeparatorLine(ch);
  const std::size_t start = b.LineStart(1), end = b.LineEnd(1);
  std::size_t peak = 0;
  for (auto _ : state) {
    std::size_t got = 0;
    peak = std::max(peak, peak_memory::PeakDuring([&] {
      if (move == 0) got = PrevWordStart(b, end);
      if (move == 1) got = NextWordStart(b, start);
      if (move == 2) got = WordAround(b, (start + end) / 2).first;
    }));
    if (got != (move == 1 ? end : start)) state.SkipWithError("word movement went astray");
  }
  state.counters["peak_bytes"] = static_cast<double>(peak);
}
void BM_CtrlLeftAcrossEquals(benchmark::State& state) { WordMoves(state, "＝", 0); }
void BM_CtrlRightAcrossEquals(benchmark::State& state) { WordMoves(state, "＝", 1); }
void BM_DoubleClickInEquals(benchmark::State& state) { WordMoves(state, "＝", 2); }
void BM_CtrlLeftAcrossRules(benchmark::State& state) { WordMoves(state, "─", 0); }
void BM_CtrlRightAcrossRules(benchmark::State& state) { WordMoves(state, "─", 1); }
void BM_DoubleClickInRules(benchmark::State& state) { WordMoves(state, "─", 2); }
BENCHMARK(BM_CtrlLeftAcrossEquals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CtrlRightAcrossEquals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleClickInEquals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CtrlLeftAcrossRules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CtrlRightAcrossRules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DoubleClickInRules)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet

BENCHMARK_MAIN();
