#include "help/help_file.h"

#include <optional>
#include <unordered_set>

#include "core/sjis.h"

namespace quillet {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Neither a blank nor a tab is ever the trail byte of a double-byte character, so both
// ends can be trimmed bytewise.
std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

// The last character of a text that only grows at its end, found by walking from its
// start (a trail byte may look like "]" or any other ASCII character). The walk goes on
// from the last character found, the only one whose length a longer text can change, so
// the whole text is walked once however often it is asked.
class LastCharWalk {
 public:
  std::string_view Of(std::string_view s) {
    std::size_t i = last_;
    while (i < s.size()) {
      last_ = i;
      i += CharLength(s, i);
    }
    return s.substr(last_);
  }

 private:
  std::size_t last_ = 0;
};

std::string_view LastChar(std::string_view s) { return LastCharWalk().Of(s); }

bool IsAsciiGraphic(char c) { return c > 0x20 && c < 0x7F; }

enum class HeaderKind { None, Topic, Chapter };

HeaderKind KeywordOf(std::string_view line) {
  auto starts = [&](std::string_view key) {
    if (!StartsWith(line, key)) return false;
    return line.size() == key.size() || IsBlank(line[key.size()]) || line[key.size()] == ']';
  };
  if (starts("[topic")) return HeaderKind::Topic;
  if (starts("[chapter")) return HeaderKind::Chapter;
  return HeaderKind::None;
}

// What lies between the keyword and the closing "]", or nothing when the line does not
// end in a real "]" or no blank follows the keyword.
std::optional<std::string_view> HeaderArguments(std::string_view line, std::size_t keyword_length) {
  if (LastChar(line) != "]") return std::nullopt;
  std::string_view rest = line.substr(keyword_length, line.size() - 1 - keyword_length);
  if (rest.empty() || !IsBlank(rest.front())) return std::nullopt;
  return TrimRight(TrimLeft(rest));
}

struct TopicHeader {
  std::uint32_t number;
  std::string title;
};

std::optional<TopicHeader> ParseTopicHeader(std::string_view line) {
  auto args = HeaderArguments(line, 6);
  if (!args) return std::nullopt;
  std::uint64_t number = 0;
  std::size_t i = 0;
  for (; i < args->size() && (*args)[i] >= '0' && (*args)[i] <= '9'; ++i) {
    number = number * 10 + static_cast<std::uint64_t>((*args)[i] - '0');
    if (number > UINT32_MAX) return std::nullopt;
  }
  if (i == 0 || i == args->size() || !IsBlank((*args)[i])) return std::nullopt;
  std::string_view title = TrimLeft(args->substr(i));
  return TopicHeader{static_cast<std::uint32_t>(number), std::string(title)};
}

std::optional<std::string> ParseChapterHeader(std::string_view line) {
  auto args = HeaderArguments(line, 8);
  if (!args || args->empty()) return std::nullopt;
  return std::string(*args);
}

// A line that begins with a blank, a full-width blank or a bullet is a line of its own:
// it neither continues the line before nor is continued by the next.
bool IsOwnLine(std::string_view line) {
  return IsBlank(line.front()) || StartsWith(line, "　") || StartsWith(line, "・");
}

// Joins the body lines of one topic: an empty line separates paragraphs, other lines
// continue the paragraph. Japanese needs no blank between joined lines; two ASCII
// words do.
std::string BuildBody(const std::vector<std::string_view>& lines) {
  std::string body;
  bool paragraph_break = false;
  bool previous_own_line = false;
  LastCharWalk body_end;
  for (std::string_view line : lines) {
    if (line.empty()) {
      paragraph_break = !body.empty();
      continue;
    }
    bool own_line = IsOwnLine(line);
    if (paragraph_break) {
      body += "\r\n\r\n";
    } else if (!body.empty() && (own_line || previous_own_line)) {
      body += "\r\n";
    } else if (!body.empty() && IsAsciiGraphic(body_end.Of(body).front()) && IsAsciiGraphic(line.front())) {
      body += ' ';
    }
    body += line;
    paragraph_break = false;
    previous_own_line = own_line;
  }
  return body;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(TrimRight(line));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

class Parser {
 public:
  HelpFile Run(std::string_view text) {
    int number = 0;
    for (std::string_view line : SplitLines(text)) {
      ++number;
      if (StartsWith(line, ";")) continue;
      switch (KeywordOf(line)) {
        case HeaderKind::Topic: StartTopic(line, number); break;
        case HeaderKind::Chapter: StartChapter(line, number); break;
        case HeaderKind::None: AddText(line, number); break;
      }
    }
    FinishTopic();
    return std::move(file_);
  }

 private:
  enum class State { OutsideTopic, InTopic, Skipping };

  void StartTopic(std::string_view line, int number) {
    FinishTopic();
    auto header = ParseTopicHeader(line);
    if (!header) return Skip(number, HelpProblemKind::MalformedHeader);
    if (!numbers_.insert(header->number).second) return Skip(number, HelpProblemKind::DuplicateNumber);
    file_.topics.push_back(HelpTopic{header->number, std::move(header->title), {}, chapter_});
    state_ = State::InTopic;
  }

  void StartChapter(std::string_view line, int number) {
    FinishTopic();
    auto title = ParseChapterHeader(line);
    if (!title) return Skip(number, HelpProblemKind::MalformedHeader);
    chapter_ = static_cast<int>(file_.chapters.size());
    file_.chapters.push_back(std::move(*title));
    state_ = State::OutsideTopic;
  }

  void AddText(std::string_view line, int number) {
    if (state_ == State::InTopic) {
      body_.push_back(line);
    } else if (state_ == State::OutsideTopic && !line.empty()) {
      file_.problems.push_back({number, HelpProblemKind::TextOutsideTopic});
    }
  }

  void Skip(int number, HelpProblemKind kind) {
    file_.problems.push_back({number, kind});
    state_ = State::Skipping;
  }

  void FinishTopic() {
    if (state_ == State::InTopic) file_.topics.back().body = BuildBody(body_);
    body_.clear();
  }

  HelpFile file_;
  State state_ = State::OutsideTopic;
  int chapter_ = -1;
  std::vector<std::string_view> body_;
  std::unordered_set<std::uint32_t> numbers_;  // of the topics kept
};

}  // namespace

const HelpTopic* HelpFile::Find(std::uint32_t number) const {
  for (const HelpTopic& topic : topics) {
    if (topic.number == number) return &topic;
  }
  return nullptr;
}

HelpFile ParseHelpFile(std::string_view text) { return Parser().Run(text); }

std::string TopicDisplayText(const HelpTopic& topic) { return topic.title + "\r\n" + topic.body; }

std::string ChapterOutline(const HelpFile& file, int chapter) {
  std::string outline;
  for (const HelpTopic& topic : file.topics) {
    if (topic.chapter != chapter) continue;
    if (!outline.empty()) outline += "\r\n";
    outline += "・" + topic.title;
  }
  return outline;
}

}  // namespace quillet
