#include "core/text_words.h"

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
  pos = text.SnapBack(pos);
  while (pos > 0 && ClassAt(text, text.PrevChar(pos)) == CharClass::kBlank) pos = text.PrevChar(pos);
  if (pos == 0) return 0;
  CharClass cls = ClassAt(text, text.PrevChar(pos));
  pos = text.PrevChar(pos);
  while (pos > 0 && SameRun(ClassAt(text, text.PrevChar(pos)), cls)) pos = text.PrevChar(pos);
  return pos;
}

std::pair<std::size_t, std::size_t> WordAround(const TextBuffer& text, std::size_t pos) {
  pos = text.SnapBack(pos);
  if (ClassAt(text, pos) == CharClass::kBreak && pos > 0 && ClassAt(text, text.PrevChar(pos)) != CharClass::kBreak) {
    pos = text.PrevChar(pos);
  }
  CharClass cls = ClassAt(text, pos);
  if (cls == CharClass::kBreak) return {pos, pos};
  std::size_t begin = pos;
  while (begin > 0 && ClassAt(text, text.PrevChar(begin)) == cls) begin = text.PrevChar(begin);
  std::size_t end = text.NextChar(pos);
  while (end < text.size() && ClassAt(text, end) == cls) end = text.NextChar(end);
  return {begin, end};
}

}  // namespace quillet
