#include "core/text_words.h"

#include <tuple>

#include "core/sjis.h"

namespace quillet {

namespace {

CharClass ClassOfSingle(unsigned char c) {
  if (c == ' ' || c == '\t') return CharClass::kBlank;
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') return CharClass::kAlnum;
  if (c >= 0xA6 && c <= 0xDF) return CharClass::kKana;  // half-width katakana
  return CharClass::kSymbol;
}

CharClass ClassOfDouble(unsigned code) {
  if (code == 0x8140) return CharClass::kBlank;                          // ideographic space
  if (code == 0x8158) return CharClass::kKanji;                          // repetition mark
  if (code == 0x815B || (code >= 0x8152 && code <= 0x8155)) return CharClass::kKana;  // long vowel, iteration
  if (code >= 0x829F && code <= 0x82F1) return CharClass::kKana;         // hiragana
  if (code >= 0x8340 && code <= 0x8396) return CharClass::kKana;         // katakana
  if (code >= 0x889F) return CharClass::kKanji;
  return CharClass::kSymbol;
}

bool SameRun(CharClass a, CharClass b) { return a == b && a != CharClass::kBreak; }

bool IsTrail(char c) { return static_cast<unsigned char>(c) >= 0x40; }

// Steps back over characters from a boundary. Where a character starts inside a run of
// lead-range bytes depends on where the run starts, so each run is counted once and the
// count carried along: asking the text for every previous character would count the run
// again at each step, quadratic on a line of "＝" (0x81 0x81).
class BackwardChars {
 public:
  BackwardChars(const TextBuffer& text, std::size_t pos) : text_(text), pos_(pos), leads_(LeadsBefore(pos)) {}

  std::size_t pos() const { return pos_; }
  // The start of the character before pos(), and the lead-range bytes before that start.
  std::pair<std::size_t, std::size_t> Previous() const {
    if (pos_ == 0) return {0, 0};
    // Inside the run characters pair up from its start: an odd count leaves the last
    // lead byte alone, an even one ends with a pair.
    if (leads_ % 2 == 1) return {pos_ - 1, leads_ - 1};
    if (leads_ > 0) return {pos_ - 2, leads_ - 2};
    if (pos_ >= 2 && text_.IsBreakAt(pos_ - 2)) return {pos_ - 2, LeadsBefore(pos_ - 2)};
    // A byte outside the lead range: a character of its own, or the trail of a lead byte
    // that an odd run before it leaves free.
    std::size_t before = LeadsBefore(pos_ - 1);
    if (before % 2 == 1 && IsTrail(text_[pos_ - 1])) return {pos_ - 2, before - 1};
    return {pos_ - 1, before};
  }
  std::size_t PreviousStart() const { return Previous().first; }
  void Back() { std::tie(pos_, leads_) = Previous(); }

 private:
  std::size_t LeadsBefore(std::size_t pos) const {
    std::size_t start = pos;
    while (start > 0 && IsLeadByte(text_[start - 1])) --start;
    return pos - start;
  }

  const TextBuffer& text_;
  std::size_t pos_;
  std::size_t leads_;
};

}  // namespace

CharClass ClassAt(const TextBuffer& text, std::size_t pos) {
  if (pos >= text.size() || text.IsBreakAt(pos)) return CharClass::kBreak;
  auto first = static_cast<unsigned char>(text[pos]);
  if (text.CharLength(pos) == 1) return ClassOfSingle(first);
  return ClassOfDouble(first << 8 | static_cast<unsigned char>(text[pos + 1]));
}

std::size_t NextWordStart(const TextBuffer& text, std::size_t pos) {
  if (pos >= text.size()) return text.size();
  CharClass cls = ClassAt(text, pos);
  pos = text.NextChar(pos);
  if (cls != CharClass::kBlank) {
    while (pos < text.size() && SameRun(ClassAt(text, pos), cls)) pos = text.NextChar(pos);
  }
  while (pos < text.size() && ClassAt(text, pos) == CharClass::kBlank) pos = text.NextChar(pos);
  return pos;
}

std::size_t PrevWordStart(const TextBuffer& text, std::size_t pos) {
  BackwardChars chars(text, text.SnapBack(pos));
  while (chars.pos() > 0 && ClassAt(text, chars.PreviousStart()) == CharClass::kBlank) chars.Back();
  if (chars.pos() == 0) return 0;
  CharClass cls = ClassAt(text, chars.PreviousStart());
  chars.Back();
  while (chars.pos() > 0 && SameRun(ClassAt(text, chars.PreviousStart()), cls)) chars.Back();
  return chars.pos();
}

std::pair<std::size_t, std::size_t> WordAround(const TextBuffer& text, std::size_t pos) {
  pos = text.SnapBack(pos);
  if (ClassAt(text, pos) == CharClass::kBreak && pos > 0 && ClassAt(text, text.PrevChar(pos)) != CharClass::kBreak) {
    pos = text.PrevChar(pos);
  }
  CharClass cls = ClassAt(text, pos);
  if (cls == CharClass::kBreak) return {pos, pos};
  BackwardChars begin(text, pos);
  while (begin.pos() > 0 && ClassAt(text, begin.PreviousStart()) == cls) begin.Back();
  std::size_t end = text.NextChar(pos);
  while (end < text.size() && ClassAt(text, end) == cls) end = text.NextChar(end);
  return {begin.pos(), end};
}

}  // namespace quillet
