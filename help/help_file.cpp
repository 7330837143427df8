#include "help/help_file.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

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

// The last character of a text, found by walking from its start (a trail byte may look
// like "]" or any other ASCII character).
std::string_view LastChar(std::string_view s) {
  std::size_t last = 0;
  for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) last = i;
  return s.substr(last);
}

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

// A line's bytes without its CR and the blanks at its end.
std::string_view BodyLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return TrimRight(line);
}

// Calls each(line) for the lines of text, each without its LF; a text that ends in LF has
// no empty line after it.
template <class Each>
void ForEachLine(std::string_view text, Each each) {
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    each(text.substr(begin, end - begin));
    begin = end + 1;
  }
}

// Whether the body so far ends in an ASCII graphic character, read as the help window
// reads the body: from its start, so a lead byte left alone at the end of one piece pairs
// with the first byte of the next.
class BodyEnd {
 public:
  void Add(std::string_view piece) {
    if (piece.empty()) return;
    std::size_t from = 0;
    if (lone_lead_) {
      const char pair[2] = {lead_, piece.front()};
      from = CharLength(std::string_view(pair, 2), 0) == 2 ? 1 : 0;
    }
    std::string_view last = from == piece.size() ? std::string_view() : LastChar(piece.substr(from));
    ascii_ = !last.empty() && IsAsciiGraphic(last.front());
    lone_lead_ = last.size() == 1 && IsLeadByte(last.front());
    lead_ = lone_lead_ ? last.front() : 0;
  }
  bool ascii() const { return ascii_; }

 private:
  bool ascii_ = false, lone_lead_ = false;
  char lead_ = 0;
};

// Joins the body lines of one topic (its part of the file, comment lines and all) and
// gives the body to emit in pieces: an empty line separates paragraphs, other lines
// continue the paragraph. Japanese needs no blank between joined lines; two ASCII words
// do.
template <class Emit>
void JoinBody(std::string_view lines, Emit emit) {
  bool any = false, paragraph_break = false, previous_own_line = false;
  BodyEnd end;
  auto put = [&](std::string_view piece) {
    emit(piece);
    end.Add(piece);
  };
  ForEachLine(lines, [&](std::string_view raw) {
    if (StartsWith(raw, ";")) return;
    std::string_view line = BodyLine(raw);
    if (line.empty()) {
      paragraph_break = any;
      return;
    }
    bool own_line = IsOwnLine(line);
    if (paragraph_break) {
      put("\r\n\r\n");
    } else if (any && (own_line || previous_own_line)) {
      put("\r\n");
    } else if (any && end.ascii() && IsAsciiGraphic(line.front())) {
      put(" ");
    }
    put(line);
    any = true;
    paragraph_break = false;
    previous_own_line = own_line;
  });
}

// The body made at its exact size: help files far larger than the shipped one stay within
// a small multiple of their size in memory.
std::string BuildBody(std::string_view lines) {
  std::size_t size = 0;
  JoinBody(lines, [&](std::string_view piece) { size += piece.size(); });
  std::string body;
  body.reserve(size);
  JoinBody(lines, [&](std::string_view piece) { body += piece; });
  return body;
}

// Topic numbers already taken: an open-addressed table of four-byte slots, where a node
// per number would take more memory than a small topic's text. Slot value 0 marks an
// empty slot, so number 0 is kept apart.
class NumberSet {
 public:
  void Reserve(std::size_t count) {
    std::size_t slots = 16;
    while (slots < 2 * count) slots *= 2;
    if (slots > slots_.size()) Rehash(slots);
  }
  // False when the number was there already.
  bool Insert(std::uint32_t number) {
    if (number == 0) return !std::exchange(has_zero_, true);
    if (2 * (size_ + 1) > slots_.size()) Rehash(std::max<std::size_t>(16, 2 * slots_.size()));
    std::uint32_t& slot = Slot(number);
    if (slot == number) return false;
    slot = number;
    ++size_;
    return true;
  }

 private:
  // The number's slot, or the empty one where it would go.
  std::uint32_t& Slot(std::uint32_t number) {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = (number * std::size_t{0x9E3779B97F4A7C15u}) >> 32 & mask;
    while (slots_[i] != 0 && slots_[i] != number) i = (i + 1) & mask;
    return slots_[i];
  }
  void Rehash(std::size_t slots) {
    std::vector<std::uint32_t> old = std::exchange(slots_, std::vector<std::uint32_t>(slots, 0));
    for (std::uint32_t number : old) {
      if (number != 0) Slot(number) = number;
    }
  }

  std::vector<std::uint32_t> slots_;
  std::size_t size_ = 0;
  bool has_zero_ = false;
};

// Room for the topics, made once rather than doubled as they come: one per line that
// begins with "[topic", but no more than the shortest header line ("[topic 1 x]" and its
// LF) would make of the text.
std::size_t TopicRoom(std::string_view text) {
  std::size_t count = StartsWith(text, "[topic");
  for (std::size_t at = text.find("\n[topic"); at != std::string_view::npos; at = text.find("\n[topic", at + 1)) ++count;
  return std::min(count, text.size() / 12);
}

class Parser {
 public:
  HelpFile Run(std::string_view text) {
    std::size_t topics = TopicRoom(text);
    file_.topics.reserve(topics);
    numbers_.Reserve(topics);
    int number = 0;
    ForEachLine(text, [&](std::string_view raw) {
      ++number;
      std::size_t begin = static_cast<std::size_t>(raw.data() - text.data());
      if (StartsWith(raw, ";")) return;
      std::string_view line = BodyLine(raw);
      switch (KeywordOf(line)) {
        case HeaderKind::Topic: StartTopic(text, begin, line, number); break;
        case HeaderKind::Chapter: StartChapter(text, begin, line, number); break;
        case HeaderKind::None: AddText(line, number); break;
      }
    });
    FinishTopic(text, text.size());
    return std::move(file_);
  }

 private:
  enum class State { OutsideTopic, InTopic, Skipping };

  // Each header ends the topic before it, whose body is the text from after its header
  // up to the header's line.
  void StartTopic(std::string_view text, std::size_t line_begin, std::string_view line, int number) {
    FinishTopic(text, line_begin);
    auto header = ParseTopicHeader(line);
    if (!header) return Skip(number, HelpProblemKind::MalformedHeader);
    if (!numbers_.Insert(header->number)) return Skip(number, HelpProblemKind::DuplicateNumber);
    file_.topics.push_back(HelpTopic{header->number, std::move(header->title), {}, chapter_});
    state_ = State::InTopic;
    body_begin_ = text.find('\n', line_begin);
    body_begin_ = body_begin_ == std::string_view::npos ? text.size() : body_begin_ + 1;
  }

  void StartChapter(std::string_view text, std::size_t line_begin, std::string_view line, int number) {
    FinishTopic(text, line_begin);
    auto title = ParseChapterHeader(line);
    if (!title) return Skip(number, HelpProblemKind::MalformedHeader);
    chapter_ = static_cast<int>(file_.chapters.size());
    file_.chapters.push_back(std::move(*title));
    state_ = State::OutsideTopic;
  }

  void AddText(std::string_view line, int number) {
    if (state_ == State::OutsideTopic && !line.empty()) {
      file_.problems.push_back({number, HelpProblemKind::TextOutsideTopic});
    }
  }

  void Skip(int number, HelpProblemKind kind) {
    file_.problems.push_back({number, kind});
    state_ = State::Skipping;
  }

  void FinishTopic(std::string_view text, std::size_t end) {
    if (state_ != State::InTopic) return;
    file_.topics.back().body = BuildBody(text.substr(body_begin_, end - body_begin_));
    state_ = State::OutsideTopic;
  }

  HelpFile file_;
  State state_ = State::OutsideTopic;
  int chapter_ = -1;
  std::size_t body_begin_ = 0;  // where the lines of the topic being read begin
  NumberSet numbers_;           // of the topics kept
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
