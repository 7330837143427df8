#include "core/text_requests.h"

#include <algorithm>

namespace quillet {

namespace {

std::size_t AsPos(long pos) { return pos < 0 ? 0 : static_cast<std::size_t>(pos); }
std::size_t EndOrPos(const TextBuffer& text, long pos) { return pos < 0 ? text.size() : static_cast<std::size_t>(pos); }

}  // namespace

void SetSelectionRequest(TextBuffer& text, long start, long end) {
  if (start < 0) {
    text.Select(text.caret(), text.caret());
  } else {
    text.Select(AsPos(start), EndOrPos(text, end));
  }
}

std::int64_t PackedSelection(const TextBuffer& text) {
  std::size_t start = text.SelStart(), end = text.SelEnd();
  if (end > 0xFFFF) return -1;
  return static_cast<std::int64_t>(start | end << 16);
}

long LineFromCharRequest(const TextBuffer& text, long pos) {
  std::size_t at = pos < 0 ? text.SelStart() : std::min(AsPos(pos), text.size());
  return static_cast<long>(text.LineOf(at));
}

long LineIndexRequest(const TextBuffer& text, long line) {
  std::size_t which = line < 0 ? text.LineOf(text.caret()) : AsPos(line);
  std::size_t start = text.LineStart(which);
  return start == TextBuffer::kNoPos ? -1 : static_cast<long>(start);
}

long LineLengthRequest(const TextBuffer& text, long pos) {
  if (pos >= 0) {
    std::size_t line = text.LineOf(std::min(AsPos(pos), text.size()));
    return static_cast<long>(text.LineEnd(line) - text.LineStart(line));
  }
  std::size_t first = text.LineOf(text.SelStart());
  std::size_t last = text.LineOf(text.SelEnd());
  std::size_t before = text.SelStart() - text.LineStart(first);
  std::size_t after = text.LineEnd(last) - std::min(text.SelEnd(), text.LineEnd(last));
  return static_cast<long>(before + after);
}

std::string LineTextRequest(const TextBuffer& text, long line) {
  if (line < 0 || AsPos(line) >= text.LineCount()) return {};
  return text.Substr(text.LineStart(AsPos(line)), text.LineEnd(AsPos(line)));
}

long FindRequest(const TextBuffer& text, std::string_view needle, long min, long max, bool match_case) {
  std::size_t found = text.Find(needle, AsPos(min), EndOrPos(text, max), match_case);
  return found == TextBuffer::kNoPos ? -1 : static_cast<long>(found);
}

long FindAnyRequest(const TextBuffer& text, std::span<const std::string_view> needles, long min, long max,
                    bool match_case, std::size_t& index) {
  TextBuffer::FoundNeedle found = text.FindAny(needles, AsPos(min), EndOrPos(text, max), match_case);
  index = found.index;
  return found.pos == TextBuffer::kNoPos ? -1 : static_cast<long>(found.pos);
}

std::string TextRangeRequest(const TextBuffer& text, long min, long max) {
  return text.Substr(AsPos(min), EndOrPos(text, max));
}

}  // namespace quillet
