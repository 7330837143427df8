#include "core/ime_span.h"

#include <algorithm>

#include "core/text_words.h"

namespace quillet {

namespace {

bool HasForeign(const TextBuffer& text, const ForeignChars& chars, std::size_t begin, std::size_t end) {
  if (chars.empty()) return false;
  for (std::size_t pos = begin; pos < end; pos = text.NextChar(pos)) {
    if (pos + 1 < end && chars.CharOf(static_cast<unsigned char>(text[pos]), static_cast<unsigned char>(text[pos + 1])))
      return true;
  }
  return false;
}

// The line round [from, to), no further than the context limit from either end.
ImeSpan Around(const TextBuffer& text, std::size_t from, std::size_t to) {
  std::size_t line_start = text.LineStart(text.LineOf(from));
  std::size_t line_end = text.LineEnd(text.LineOf(to));
  std::size_t begin = from - std::min(from - line_start, kImeContextBytes);
  std::size_t end = std::min(line_end, to + kImeContextBytes);
  // Cut on character boundaries: the first whole character at or after the limit.
  if (begin > line_start && text.SnapBack(begin) != begin) begin = text.NextChar(text.SnapBack(begin));
  if (end < line_end) end = text.SnapBack(end);
  return {begin, end, from, to};
}

}  // namespace

std::optional<ImeSpan> ReconversionSpan(const TextBuffer& text, const ForeignChars& chars) {
  std::size_t from = text.SelStart(), to = text.SelEnd();
  if (text.HasSelection()) {
    if (to - from > kMaxReconversionBytes || HasForeign(text, chars, from, to)) return std::nullopt;
    return Around(text, from, to);
  }
  std::size_t caret = text.caret();
  auto [word_begin, word_end] = WordAround(text, caret);
  CharClass kind = ClassAt(text, word_begin);
  bool convertible = word_end > word_begin && kind != CharClass::kBlank && word_end - word_begin <= kMaxReconversionBytes &&
                     !HasForeign(text, chars, word_begin, word_end);
  return convertible ? Around(text, word_begin, word_end) : Around(text, caret, caret);
}

ImeSpan FeedSpan(const TextBuffer& text) { return Around(text, text.SelStart(), text.SelStart()); }

std::optional<ImeSpan> ConfirmedSpan(const TextBuffer& text, const ForeignChars& chars, const ImeSpan& shown,
                                     std::size_t offset, std::size_t length) {
  std::size_t size = shown.end - shown.begin;
  if (shown.end > text.size() || offset > size || length > size - offset) return std::nullopt;
  std::size_t from = shown.begin + offset, to = from + length;
  if (text.SnapBack(from) != from || text.SnapBack(to) != to || HasForeign(text, chars, from, to)) return std::nullopt;
  return ImeSpan{shown.begin, shown.end, from, to};
}

std::string ImeText(const TextBuffer& text, const ForeignChars& chars, std::size_t begin, std::size_t end) {
  std::string out = text.Substr(begin, end);
  if (chars.empty()) return out;
  for (std::size_t i = 0; i + 1 < out.size(); i += text.CharLength(begin + i)) {
    if (chars.CharOf(static_cast<unsigned char>(out[i]), static_cast<unsigned char>(out[i + 1]))) {
      out[i] = static_cast<char>(0x81);
      out[i + 1] = static_cast<char>(0xAC);
    }
  }
  return out;
}

}  // namespace quillet
