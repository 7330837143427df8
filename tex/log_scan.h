#pragma once
// Reading the TeX engine's log: its lines, the lines the error window shows, and the
// source line the error ending jumps to.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// What the error window shows for a log, read straight from its bytes.
struct LogWindow {
  std::string text;            // the window's lines, the log's own bytes, joined by CR LF
  std::size_t line_count = 0;  // lines in text (an empty text may hold one empty line)
  bool errors = false;         // a "! " line was met outside a context block
  int jump_line = 0;           // the source line the error ending selects, 0 for none
};

// The error window's lines: each "! " line (the log's second line once in front of the
// first), each "l." context line with the lines after it up to the engine's "? " prompt
// (or the end of the log), and each "No page" line; lines inside a context block are
// taken as part of it, whatever they begin with. The line to select is read from the
// third window line: its bytes from the third up to its first blank as a decimal number.
// Lines end at CR, LF or CR LF, the text at a NUL. Read without a list of the log's
// lines (an engine that loops writing empty lines makes logs of tens of millions of
// them): what it holds besides the log is the window's text, made at its exact size.
// The engine bridge appends what the other tools of a run (bibliography, index) found
// wrong after the engine's log, each line marked so: the window shows those lines first,
// without the mark, and they count as errors.
LogWindow ScanTeXLog(std::string_view log_bytes);
inline constexpr std::string_view kChainReportMark = "!> ";

// The place a line of the error window names: an engine's context line "l.12 ..." the
// run's source (file empty), a tool's "refs.bib:5: ..." that file; nothing otherwise.
struct WindowPlace {
  std::string file;
  int line = 0;
};
std::optional<WindowPlace> PlaceOfWindowLine(std::string_view line);

}  // namespace quillet
