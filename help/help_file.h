#pragma once
// The help file: topics found by context number, grouped into chapters for the
// contents tree. The text format is described in help/FORMAT.md.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct HelpTopic {
  std::uint32_t number = 0;
  std::string title;
  // Paragraphs separated by an empty line, forced line breaks as CR LF.
  std::string body;
  int chapter = -1;  // index into HelpFile::chapters, -1 before the first chapter
};

enum class HelpProblemKind {
  MalformedHeader,   // a "[topic" or "[chapter" line that does not parse
  DuplicateNumber,   // a topic number used before; the later topic is dropped
                     // (the text under a dropped or malformed header is skipped)
  TextOutsideTopic,  // text before the first topic, or after a chapter header
};

struct HelpProblem {
  int line = 0;  // 1-based line of the file
  HelpProblemKind kind = HelpProblemKind::MalformedHeader;
};

struct HelpFile {
  std::vector<std::string> chapters;
  std::vector<HelpTopic> topics;  // in file order
  std::vector<HelpProblem> problems;

  const HelpTopic* Find(std::uint32_t number) const;
};

// Reads the whole file text (Shift-JIS in the program; LF or CR LF line breaks).
// Never fails: what does not parse is reported in problems and left out.
HelpFile ParseHelpFile(std::string_view text);

// The text a help window shows for a topic: the title, CR LF, the body.
std::string TopicDisplayText(const HelpTopic& topic);

// The text shown for a chapter: the titles of its topics, one a line after a bullet.
std::string ChapterOutline(const HelpFile& file, int chapter);

}  // namespace quillet
