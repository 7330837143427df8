#include "tex/log_scan.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/byte_scan.h"

namespace quillet {

namespace {

// The line number in a third window line: its bytes from the third up to the first blank.
int JumpNumberOf(std::string_view line) {
  std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos || blank <= 2) return 0;
  std::string_view digits = line.substr(2, blank - 2);
  if (digits.front() < '0' || digits.front() > '9') return 0;  // no sign, no blank
  int number = 0;
  const char* end = digits.data() + digits.size();
  auto [stop, error] = std::from_chars(digits.data(), end, number);
  return error == std::errc() && stop == end ? number : 0;
}

// StartsWith without a call: tested on every line of logs with tens of millions of them.
bool Begins(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;

// The high bit of each byte of v that is not zero, and only those.
constexpr std::uint64_t NonZeroBytes(std::uint64_t v) { return (((v & ~kHighs) + ~kHighs) | v) & kHighs; }

// The high bit of each byte of word that equals c, and only those.
constexpr std::uint64_t BytesEqual(std::uint64_t word, char c) {
  return ~NonZeroBytes(word ^ (kOnes * static_cast<unsigned char>(c))) & kHighs;
}

// How many bytes of a mask of high bits are set (a multiply: the processor's own count is
// not in the base instruction set).
constexpr std::size_t CountHighs(std::uint64_t mask) { return static_cast<std::size_t>(((mask >> 7) * kOnes) >> 56); }

std::uint64_t WordAt(std::string_view s, std::size_t i) {
  std::uint64_t word;
  std::memcpy(&word, s.data() + i, 8);
  return word;
}

// The first byte at or after i that is no CR or LF: where the next line that is not
// empty begins. Runs of empty lines are passed eight bytes at a time.
std::size_t SkipBreaks(std::string_view s, std::size_t i) {
  for (; i + 8 <= s.size(); i += 8) {
    std::uint64_t word = WordAt(s, i);
    if ((BytesEqual(word, '\r') | BytesEqual(word, '\n')) != kHighs) break;
  }
  while (i < s.size() && IsBreak(s[i])) ++i;
  return i;
}

// Where the line that begins at i ends (at its CR or LF, or the end of the text).
std::size_t LineEnd(std::string_view s, std::size_t i) {
  std::size_t end = i < s.size() && IsBreak(s[i]) ? i : FindEitherByte(s, i, '\r', '\n');
  return end == std::string_view::npos ? s.size() : end;
}

// Where the line after the one that ends at end begins.
std::size_t AfterBreak(std::string_view s, std::size_t end) {
  if (end >= s.size()) return s.size();
  return end + (s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n' ? 2 : 1);
}

// Lines that follow one another in the log: the run of bytes from the first line's start
// to the last line's end, how many lines, and how many of the breaks between them are a
// CR or LF alone (each becomes CR LF in the window).
struct Run {
  std::string_view bytes;
  std::size_t lines = 1, lone_breaks = 0;
};

Run CountBreaks(std::string_view bytes) {
  std::size_t cr = 0, lf = 0, crlf = 0, i = 0;
  bool cr_before = false;  // the byte before the word was a CR
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = WordAt(bytes, i);
    std::uint64_t crs = BytesEqual(word, '\r'), lfs = BytesEqual(word, '\n');
    cr += CountHighs(crs);
    lf += CountHighs(lfs);
    crlf += CountHighs((crs << 8) & lfs) + (cr_before && (lfs & 0x80));
    cr_before = (crs >> 63) != 0;
  }
  for (; i < bytes.size(); ++i) {
    cr += bytes[i] == '\r';
    lf += bytes[i] == '\n';
    crlf += cr_before && bytes[i] == '\n';
    cr_before = bytes[i] == '\r';
  }
  std::size_t breaks = cr + lf - crlf;
  return {bytes, breaks + 1, breaks - crlf};
}

// A context block: the lines from the "l." line at begin up to the next line that begins
// with the engine's "? " prompt, which the next round passes over; without a prompt
// (non-interactive runs, a log cut short) it runs to the last line. Sets next to where
// the prompt line begins (the end of the text when there is none).
Run ContextBlock(std::string_view log, std::size_t begin, std::size_t& next) {
  std::size_t prompt = begin;
  do {
    prompt = log.find("? ", prompt + 1);
  } while (prompt != std::string_view::npos && !IsBreak(log[prompt - 1]));
  next = prompt == std::string_view::npos ? log.size() : prompt;
  // The block's last line ends at the break just before the prompt or the text's end.
  std::size_t end = next;
  if (end > begin && log[end - 1] == '\n') --end;
  if (end > begin && log[end - 1] == '\r') --end;
  return CountBreaks(log.substr(begin, end - begin));
}

// The context blocks the first pass found, kept for the second when they are long: so
// the window's text is made at its exact size with a long block read once, and what is
// kept stays small beside the log.
class Blocks {
 public:
  Run At(std::string_view log, std::size_t begin, std::size_t& next) {
    if (replay_ && taken_ < kept_.size() && kept_[taken_].run.bytes.data() == log.data() + begin) {
      next = kept_[taken_].next;
      return kept_[taken_++].run;
    }
    Run run = ContextBlock(log, begin, next);
    if (!replay_ && run.bytes.size() >= kLong) kept_.push_back({run, next});
    return run;
  }
  void Replay() { replay_ = true; }

 private:
  static constexpr std::size_t kLong = 4096;
  struct Kept {
    Run run;
    std::size_t next;
  };
  std::vector<Kept> kept_;
  std::size_t taken_ = 0;
  bool replay_ = false;
};

// The log's lines in the window, given to the sink as single lines and context blocks.
template <class Sink>
bool TakeWindowLines(std::string_view log, Blocks& blocks, Sink& sink) {
  std::string_view second;  // the log's second line, if it has one
  std::size_t second_begin = AfterBreak(log, LineEnd(log, 0));
  bool has_second = second_begin < log.size();
  if (has_second) second = log.substr(second_begin, LineEnd(log, second_begin) - second_begin);
  bool errors = false;
  // At each round pos is the start of a line that is not empty: empty lines, the most of
  // a runaway log, are passed over in runs.
  for (std::size_t pos = SkipBreaks(log, 0); pos < log.size(); pos = SkipBreaks(log, pos)) {
    char first = log[pos];
    if (first != '!' && first != 'l' && first != 'N') {
      pos = LineEnd(log, pos);
      continue;
    }
    std::size_t end = LineEnd(log, pos);
    std::string_view line = log.substr(pos, end - pos);
    if (Begins(line, "! ")) {
      if (!errors && has_second) sink.Line(second);
      errors = true;
      sink.Line(line);
    } else if (Begins(line, "l.")) {
      sink.Block(blocks.At(log, pos, end));
    } else if (Begins(line, "No page")) {
      sink.Line(line);
    }
    pos = end;
  }
  return errors;
}

// The first pass: the size of the window's text.
struct Measure {
  std::size_t size = 0, lines = 0;
  void Line(std::string_view line) { Block({line}); }
  void Block(const Run& run) {
    size += (lines ? 2 : 0) + run.bytes.size() + run.lone_breaks;
    lines += run.lines;
  }
};

// Copies bytes to out with every line break (CR, LF or CR LF) made CR LF. Words without a break, and words of LF alone (a runaway log written
// on a system whose lines end in LF), go eight bytes at a time.
void CopyWithCrLf(std::string_view bytes, char* out) {
  constexpr std::uint64_t kCrLfs = 0x0A0D0A0D0A0D0A0Du;
  bool after_cr = false;  // the byte before i was a CR, so an LF at i is already written
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word = WordAt(bytes, i);
    std::uint64_t crs = BytesEqual(word, '\r'), lfs = BytesEqual(word, '\n');
    if (!(crs | lfs)) {
      std::memcpy(out, &word, 8);
      out += 8;
      after_cr = false;
    } else if (lfs == kHighs && !after_cr) {
      std::memcpy(out, &kCrLfs, 8);
      std::memcpy(out + 8, &kCrLfs, 8);
      out += 16;
    } else {
      for (std::size_t k = i; k < i + 8; ++k) {
        char c = bytes[k];
        if (c == '\r' || (c == '\n' && !after_cr)) {
          *out++ = '\r';
          *out++ = '\n';
        } else if (c != '\n') {
          *out++ = c;
        }
        after_cr = c == '\r';
      }
    }
  }
  for (; i < bytes.size(); ++i) {
    char c = bytes[i];
    if (c == '\r' || (c == '\n' && !after_cr)) {
      *out++ = '\r';
      *out++ = '\n';
    } else if (c != '\n') {
      *out++ = c;
    }
    after_cr = c == '\r';
  }
}

// The second pass: the text itself, every line break CR LF.
struct Write {
  std::string& text;
  void Line(std::string_view line) { Block({line}); }
  void Block(const Run& run) {
    if (lines++) text += "\r\n";
    if (!run.lone_breaks) {
      text += run.bytes;
      return;
    }
    std::size_t at = text.size();
    text.resize(at + run.bytes.size() + run.lone_breaks);
    CopyWithCrLf(run.bytes, text.data() + at);
  }
  std::size_t lines = 0;
};

}  // namespace

namespace {

// Where the engine bridge's report of the other tools begins: its first marked line.
std::size_t ReportStart(std::string_view log) {
  std::string_view mark = kChainReportMark;
  if (Begins(log, mark)) return 0;
  for (std::size_t at = log.find(mark); at != std::string_view::npos; at = log.find(mark, at + 1)) {
    if (IsBreak(log[at - 1])) return at;
  }
  return log.size();
}

// The report's marked lines, without their mark, each ended by CR LF.
std::string ReportLines(std::string_view report, std::size_t& count) {
  std::string lines;
  for (std::size_t pos = SkipBreaks(report, 0); pos < report.size(); pos = SkipBreaks(report, pos)) {
    std::size_t end = LineEnd(report, pos);
    std::string_view line = report.substr(pos, end - pos);
    if (Begins(line, kChainReportMark)) {
      lines.append(line.substr(kChainReportMark.size())).append("\r\n");
      ++count;
    }
    pos = end;
  }
  return lines;
}

LogWindow ScanEngineLog(std::string_view log) {
  LogWindow window;
  Blocks blocks;
  Measure measure;
  TakeWindowLines(log, blocks, measure);
  window.text.reserve(measure.size);
  blocks.Replay();
  Write write{window.text};
  window.errors = TakeWindowLines(log, blocks, write);
  window.line_count = measure.lines;
  if (window.line_count >= 3) {
    std::string_view text = window.text;
    std::size_t third = text.find("\r\n", text.find("\r\n") + 2) + 2;
    window.jump_line = JumpNumberOf(text.substr(third, text.find("\r\n", third) - third));
  }
  return window;
}

}  // namespace

LogWindow ScanTeXLog(std::string_view log_bytes) {
  std::string_view log = log_bytes.substr(0, log_bytes.find('\0'));  // a NUL ends the text
  std::size_t report_start = ReportStart(log);
  LogWindow window = ScanEngineLog(log.substr(0, report_start));
  std::size_t count = 0;
  std::string report = ReportLines(log.substr(report_start), count);
  if (count == 0) return window;
  // The failed step comes first; the engine's lines, and its jump, stay as they were.
  if (window.text.empty()) {
    report.resize(report.size() - 2);
    window.line_count = 0;
  }
  window.text.insert(0, report);
  window.line_count += count;
  window.errors = true;
  return window;
}

std::optional<WindowPlace> PlaceOfWindowLine(std::string_view line) {
  if (Begins(line, "l.")) {
    if (int number = JumpNumberOf(line); number > 0) return WindowPlace{"", number};
    return std::nullopt;
  }
  // "file:line: message": the first colon followed by digits and a colon (a drive's colon
  // is followed by a backslash).
  for (std::size_t colon = line.find(':'); colon != std::string_view::npos; colon = line.find(':', colon + 1)) {
    std::size_t digits = colon + 1, end = digits;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
    if (end == digits || end >= line.size() || line[end] != ':' || colon == 0) continue;
    int number = 0;
    std::from_chars(line.data() + digits, line.data() + end, number);
    if (number > 0) return WindowPlace{std::string(line.substr(0, colon)), number};
  }
  return std::nullopt;
}

}  // namespace quillet
