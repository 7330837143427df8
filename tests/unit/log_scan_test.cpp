#include "core/byte_scan.h"
#include "tex/log_scan.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

// Every allocation is counted, so a scan's peak memory can be read beside its input.
namespace {
std::size_t live_bytes = 0, peak_bytes = 0;
}  // namespace

void* operator new(std::size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  live_bytes += malloc_usable_size(p);
  peak_bytes = std::max(peak_bytes, live_bytes);
  return p;
}
void operator delete(void* p) noexcept {
  if (p) live_bytes -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The window's text for lines each ended by LF, as the tables and expected files hold
// them: the lines joined by CR LF.
std::string CrLfJoined(std::string lf_ended) {
  std::string text;
  for (char c : lf_ended) {
    if (c == '\n') text += '\r';
    text += c;
  }
  return text.substr(0, text.size() >= 2 ? text.size() - 2 : 0);
}

std::size_t LineCount(const std::string& lf_ended) {
  return static_cast<std::size_t>(std::count(lf_ended.begin(), lf_ended.end(), '\n'));
}

// The value after "key: " in an expected.txt file.
std::string Field(const std::string& text, const std::string& key) {
  std::size_t at = text.find("\n" + key + ": ");
  if (at == std::string::npos) return {};
  at += key.size() + 3;
  return text.substr(at, text.find('\n', at) - at);
}

// Every real engine log beside the window it must give, the result and the jump.
TEST(LogScanTest, RealEngineLogsGiveTheirExpectedWindow) {
  int logs = 0;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(QUILLET_FIXTURES_DIR) / "tex-logs")) {
    const fs::path& log = entry.path();
    if (log.extension() != ".log") continue;
    ++logs;
    std::string base = (log.parent_path() / log.stem()).string();
    std::string bytes = Slurp(log), expected = "\n" + Slurp(base + ".expected.txt");
    std::string success = Field(expected, "success"), select = Field(expected, "select");
    ASSERT_TRUE(success == "yes" || success == "no") << base;
    ASSERT_FALSE(select.empty()) << base;

    std::string window = Slurp(base + ".expected.raw");
    LogWindow direct = ScanTeXLog(bytes);
    EXPECT_EQ(direct.text, CrLfJoined(window)) << base;
    EXPECT_EQ(direct.line_count, LineCount(window)) << base;
    EXPECT_EQ(direct.errors, success == "no") << base;
    EXPECT_EQ(direct.jump_line, std::stoi(select)) << base;
  }
  EXPECT_GT(logs, 0) << "no logs under " << QUILLET_FIXTURES_DIR;
}

TEST(LogScanTest, LinesEndAtCrLfOrCrLfAndTheTextAtNul) {
  using namespace std::string_literals;
  struct Row { std::string bytes; std::vector<std::string_view> lines; } rows[] = {
      {"a\rb\nc\r\nd"s, {"a", "b", "c", "d"}},
      {"a\r\n"s, {"a"}},
      {"a\n\nb"s, {"a", "", "b"}},
      {"a\n\r"s, {"a", ""}},          // LF then a lone CR: two breaks
      {"a\r\r\n"s, {"a", ""}},
      {""s, {}},
      {"\r\n"s, {""}},
      {"a\0b\nc"s, {"a"}},
      {"a\n\0b\n"s, {"a"}},
      {"\0a"s, {}},
      {"? \r\nl.5 \r\n  x  "s, {"? ", "l.5 ", "  x  "}},  // blanks stay
      {"0123456789abcdef\r\n0123456789ABCDEF"s, {"0123456789abcdef", "0123456789ABCDEF"}},
      {"01234567\n01234567\r01234567\0zzzzzzzzzzzz"s, {"01234567", "01234567", "01234567"}},
      {"表示ソ十\r\n予申"s, {"表示ソ十", "予申"}},
  };
  for (const auto& r : rows) {
    auto lines = SplitTextLines(r.bytes);
    EXPECT_EQ(lines, r.lines) << "bytes: " << r.bytes;
    for (auto line : lines) {
      EXPECT_TRUE(line.data() >= r.bytes.data() && line.data() + line.size() <= r.bytes.data() + r.bytes.size())
          << "a line is not a view into the bytes: " << r.bytes;
    }
  }
}

// Each row is a log (lines joined with LF) and the window it gives, joined the same way.
TEST(LogScanTest, WindowTakesErrorsContextBlocksAndNoPageLines) {
  struct Row { const char* name; const char* log; const char* window; bool errors; int jump; } rows[] = {
      {"block up to the prompt",
       "This is TeX\nentering extended mode\n(./a.tex\n! Undefined control sequence.\n"
       "<argument> \\foo\nl.12 see \\foo\n            and more  \n? \nafter the prompt\n",
       "entering extended mode\n! Undefined control sequence.\nl.12 see \\foo\n            and more  \n", true, 12},
      {"two errors, second line once",
       "T\nsecond\n! One.\nl.3 x\n? \n! Two.\nl.9 y\n  z\n? \nNo pages of output.\n",
       "second\n! One.\nl.3 x\n! Two.\nl.9 y\n  z\nNo pages of output.\n", true, 3},
      {"no page without errors", "T\nsecond\nNo pages of output.\n", "No pages of output.\n", false, 0},
      {"clean log", "T\nsecond\nOutput written on a.dvi (1 page, 228 bytes).\n", "", false, 0},
      {"error followed by error", "T\nsecond\n! Emergency stop.\n! ==> Fatal error occurred.\n",
       "second\n! Emergency stop.\n! ==> Fatal error occurred.\n", true, 0},
      {"block runs to the end and keeps what it holds",
       "T\nsecond\n! One.\nl.4 a\nhelp text\n! Two.\nl.7 b\nNo pages of output.",
       "second\n! One.\nl.4 a\nhelp text\n! Two.\nl.7 b\nNo pages of output.\n", true, 4},
      {"context line with nothing after the blank", "T\nsecond\n! Emergency stop.\nl.5 \n    \n? \n",
       "second\n! Emergency stop.\nl.5 \n    \n", true, 5},
      {"only the prompt with its blank ends a block",
       "T\nsecond\n! Bad.\nl.2 q\n?\n?x\nEnter file name: \n? x\n",
       "second\n! Bad.\nl.2 q\n?\n?x\nEnter file name: \n", true, 2},
      {"prefixes are tested at the line start, with their case",
       "T\nsecond\n !x\n!x\n l.3 a\nL.3 a\nno pages\n No page\n", "", false, 0},
      {"error as the first line", "! Emergency stop.\n", "! Emergency stop.\n", true, 0},
      {"context line before any error", "T\nsecond\nl.8 shown\n? \nNo page\n", "l.8 shown\nNo page\n", false, 0},
      {"a failed tool's report comes first, without its mark",
       "T\nsecond\nOutput written.\n\n!> pbibtex failed\n!> refs.bib:5: I was expecting\n",
       "pbibtex failed\nrefs.bib:5: I was expecting\n", true, 0},
      {"the engine's errors and jump stay after it",
       "T\nsecond\n! One.\nl.3 x\n? \n!> bibtex failed\n!> step\n",
       "bibtex failed\nstep\nsecond\n! One.\nl.3 x\n", true, 3},
  };
  for (const auto& r : rows) {
    LogWindow direct = ScanTeXLog(r.log);
    EXPECT_EQ(direct.text, CrLfJoined(r.window)) << r.name;
    EXPECT_EQ(direct.line_count, LineCount(r.window)) << r.name;
    EXPECT_EQ(direct.errors, r.errors) << r.name;
    EXPECT_EQ(direct.jump_line, r.jump) << r.name;
  }
}

// Read from its bytes, the window keeps each line's bytes and ends every line with CR LF,
// whatever break the log had; a NUL ends the log.
TEST(LogScanTest, WindowTextJoinsTheLogsOwnLinesByCrLf) {
  using namespace std::string_literals;
  struct Row { const char* name; std::string log, text; std::size_t lines; } rows[] = {
      {"breaks of every kind in a block", "T\r\nl.1 a\rb\nc\r\nd\r\n? \r\n"s, "l.1 a\r\nb\r\nc\r\nd"s, 4},
      {"empty lines of a block", "T\nl.1\n\r\r\n\n"s, "l.1\r\n\r\n\r\n"s, 4},
      {"a block at the end without a break", "T\nl.1\nx"s, "l.1\r\nx"s, 2},
      {"a prompt after a lone CR", "T\rl.1\r? \rNo page"s, "l.1\r\nNo page"s, 2},
      {"a prompt only at a line start", "T\nl.1 a? b\n?? \n? \n"s, "l.1 a? b\r\n?? "s, 2},
      {"an empty second line", "T\n\n! x\n"s, "\r\n! x"s, 2},
      {"the second line once", "! a\r\n! b\r\n"s, "! b\r\n! a\r\n! b"s, 3},
      {"a NUL ends the log", "T\nx\n! a\0\n! b\n"s, "x\r\n! a"s, 2},
      {"a CR after a lead byte still ends the line", "T\n\x81\r! \x82\n"s, "\x81\r\n! \x82"s, 2},
      {"no window", "T\nsecond\n"s, ""s, 0},
  };
  for (const auto& r : rows) {
    LogWindow window = ScanTeXLog(r.log);
    EXPECT_EQ(window.text, r.text) << r.name;
    EXPECT_EQ(window.line_count, r.lines) << r.name;
  }
}

// An engine that loops writing empty lines, after an error whose block no prompt closes:
// every line is the window's, yet the scan holds little besides the window's text.
TEST(LogScanTest, RunawayLogsOfEmptyLinesAreReadInBoundedMemory) {
  constexpr std::size_t kBytes = 4u << 20;
  for (const char* line_break : {"\r\n", "\n"}) {
    for (bool open_block : {false, true}) {
      std::string log = open_block ? "T\nsecond\n! Bad.\nl.7 x\n" : "T\nsecond\n";
      std::size_t head = log.size(), length = std::strlen(line_break);
      std::size_t empty_lines = (kBytes - head) / length;
      log.resize(head + empty_lines * length);
      for (std::size_t at = head; at < log.size(); at += length) std::copy_n(line_break, length, &log[at]);
      std::size_t before = live_bytes;
      peak_bytes = before;
      LogWindow window = ScanTeXLog(log);
      std::size_t held = peak_bytes - before;
      std::string name = std::string(open_block ? "open block" : "no block") + (length == 1 ? ", LF" : ", CR LF");
      EXPECT_EQ(window.line_count, open_block ? 3 + empty_lines : 0) << name;
      EXPECT_EQ(window.text.size(), open_block ? 21 + 2 * empty_lines : 0) << name;
      EXPECT_LE(held, window.text.capacity() + 64 * 1024) << name;
    }
  }
}

TEST(LogScanTest, JumpReadsTheThirdLineUpToItsFirstBlank) {
  struct Row { std::string log; int jump; } rows[] = {
      {"l.12 text", 12}, {"l.5 ", 5}, {"l.007 x y", 7}, {"l.12", 0}, {"l.12x y", 0}, {"l. 12", 0},
      {"l.-3 x", 0}, {"l.+3 x", 0}, {"l.99999999999 x", 0}, {"l.2147483647 x", 2147483647},
      {"l.2147483648 x", 0}, {"! Emergency stop.", 0}, {"l.表34 x", 0}, {"No page 34 x", 0},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ScanTeXLog("T\nsecond\n! Error.\n" + r.log + "\n? \nl.8 later\n").jump_line, r.jump) << r.log;
  }
  EXPECT_EQ(ScanTeXLog("T\nsecond\n! Error.\n").jump_line, 0);
}

TEST(LogScanTest, WindowLinesNameTheirPlaces) {
  struct Row { const char* line; std::optional<WindowPlace> place; } rows[] = {
      {"l.12 see \\foo", WindowPlace{"", 12}},
      {"refs.bib:5: I was expecting a `,' or a `}'", WindowPlace{"refs.bib", 5}},
      {"C:\\文書\\参考 文献.bib:17: Repeated entry", WindowPlace{"C:\\文書\\参考 文献.bib", 17}},
      {"l.x y", std::nullopt},
      {"! Undefined control sequence.", std::nullopt},
      {"LaTeX Warning: Reference `a' on page 1 undefined on input line 5.", std::nullopt},
      {"参考文献の処理 (pbibtex) でｴﾗｰがありました。", std::nullopt},
  };
  for (const Row& r : rows) {
    std::optional<WindowPlace> place = PlaceOfWindowLine(r.line);
    ASSERT_EQ(place.has_value(), r.place.has_value()) << r.line;
    if (place) {
      EXPECT_EQ(place->file, r.place->file) << r.line;
      EXPECT_EQ(place->line, r.place->line) << r.line;
    }
  }
}

}  // namespace
}  // namespace quillet
