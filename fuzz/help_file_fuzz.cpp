// The help file parser on any bytes: topic numbers are kept once, the first topic of a
// number is the one found; titles hold no line break and bodies only CR LF ones, with no
// empty line at either end nor two in a row; problems come in line order within the file; and
// LF and CR LF line ends read the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>

#include "fuzz/fuzz_checks.h"
#include "help/help_file.h"

namespace {

using fuzz_checks::Require;

using namespace quillet;

// Every LF follows a CR (a CR alone inside a line is a byte of its text).
bool NoBareLf(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

bool Same(const HelpFile& a, const HelpFile& b) {
  if (a.chapters != b.chapters || a.topics.size() != b.topics.size() || a.problems.size() != b.problems.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.topics.size(); ++i) {
    const HelpTopic &x = a.topics[i], &y = b.topics[i];
    if (x.number != y.number || x.title != y.title || x.body != y.body || x.chapter != y.chapter) return false;
  }
  for (std::size_t i = 0; i < a.problems.size(); ++i) {
    if (a.problems[i].line != b.problems[i].line || a.problems[i].kind != b.problems[i].kind) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  HelpFile file = ParseHelpFile(text);
  int file_lines = 1;
  for (char c : text) file_lines += c == '\n';

  std::unordered_set<std::uint32_t> numbers;
  for (const HelpTopic& topic : file.topics) {
    Require(numbers.insert(topic.number).second);
    Require(file.Find(topic.number) == &topic);
    Require(!topic.title.empty() && topic.title.find('\n') == std::string::npos);
    Require(topic.chapter >= -1 && topic.chapter < static_cast<int>(file.chapters.size()));
    Require(NoBareLf(topic.body));
    Require(!topic.body.starts_with("\r\n") && !topic.body.ends_with("\r\n"));
    Require(topic.body.find("\r\n\r\n\r\n") == std::string::npos);
  }
  for (const std::string& chapter : file.chapters) {
    Require(!chapter.empty() && chapter.find('\n') == std::string::npos);
  }
  int previous = 0;
  for (const HelpProblem& problem : file.problems) {
    Require(problem.line > previous && problem.line <= file_lines);
    previous = problem.line;
  }

  // The same file with CR LF line ends, when it has no CR of its own.
  if (text.find('\r') == std::string_view::npos) {
    std::string crlf;
    for (char c : text) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    Require(Same(ParseHelpFile(crlf), file));
  }
  return 0;
}
