#include "aids/heading_index.h"

#include <charconv>

#include "core/sjis.h"

namespace quillet {

std::string HeadingTitle(const HeadingSource& text, std::size_t after) {
  const std::size_t length = text.Length();
  std::size_t at = after;
  if (at < length && text.At(at) == '*') ++at;
  if (at < length && text.At(at) == '[') {
    std::size_t close = text.Find("]", at + 1);
    if (close == std::string_view::npos) return "??";
    at = close + 1;
  }
  if (at >= length || text.At(at) != '{') return "??";
  std::size_t close = text.Find("}", at + 1);
  if (close == std::string_view::npos) return "??";
  std::size_t end = close - (at + 1) > kTitleLimit + 1 ? at + 1 + kTitleLimit + 1 : close;
  return std::string(CutToBytes(text.Range(at + 1, end), kTitleLimit));
}

std::size_t BufferHeadingSource::Find(std::string_view text, std::size_t from) const {
  std::size_t at = text_.Find(text, from, text_.size(), true);
  return at == TextBuffer::kNoPos ? std::string_view::npos : at;
}

int LineNumberOf(const HeadingRow& row) {
  int n = 0;
  auto [end, error] = std::from_chars(row.line.data(), row.line.data() + row.line.size(), n);
  return error == std::errc() && end == row.line.data() + row.line.size() ? n : 0;
}

bool LineBefore(const HeadingRow& a, const HeadingRow& b) { return LineNumberOf(a) < LineNumberOf(b); }

bool KindBefore(const HeadingRow& a, const HeadingRow& b) { return a.kind < b.kind; }

}  // namespace quillet
