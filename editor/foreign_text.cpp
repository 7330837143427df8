#include "editor/foreign_text.h"

#include <algorithm>

#include "core/sjis.h"

namespace quillet {

namespace {

// Steps over one character: a lead byte takes the next byte only when it can be a trail
// byte, as the text model counts characters.
std::size_t NextChar(std::string_view text, std::size_t i) {
  return IsLeadByte(text[i]) && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x40 ? i + 2 : i + 1;
}

}  // namespace

std::size_t PlainRunEnd(std::string_view text, std::size_t from, const ForeignChars& chars) {
  // Most documents have no characters of their own: a tab is the only thing to look for.
  if (chars.empty()) return std::min(text.find('\t', from), text.size());
  std::size_t i = from;
  while (i < text.size() && text[i] != '\t' && !IsForeignAt(text, i, chars)) i = NextChar(text, i);
  return i;
}

std::string ShiftJisForOthers(std::string_view text, const ForeignChars& chars) {
  if (chars.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    std::size_t next = NextChar(text, i);
    if (IsForeignAt(text, i, chars)) {
      out += '?';
    } else {
      out.append(text, i, next - i);
    }
    i = next;
  }
  return out;
}

}  // namespace quillet
