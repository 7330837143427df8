#include "editor/foreign_text.h"

#include <algorithm>

#include "core/text_encode.h"

namespace quillet {

std::size_t PlainRunEnd(std::string_view text, std::size_t from, const ForeignChars& chars) {
  // Most documents have no characters of their own: a tab is the only thing to look for.
  if (chars.empty()) return std::min(text.find('\t', from), text.size());
  std::string_view rest = text.substr(from);
  TextWalker walk(rest);
  while (!walk.done() && rest[walk.pos()] != '\t' && !IsForeignAt(rest, walk.pos(), chars)) walk.Next();
  return from + walk.pos();
}

std::string ShiftJisForOthers(std::string_view text, const ForeignChars& chars) {
  if (chars.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (TextWalker walk(text); !walk.done();) {
    std::size_t at = walk.pos();
    walk.Next();
    if (IsForeignAt(text, at, chars)) {
      out += '?';
    } else {
      out.append(text, at, walk.pos() - at);
    }
  }
  return out;
}

}  // namespace quillet
