#include "core/composition.h"

#include <algorithm>

namespace quillet {

namespace {

std::uint8_t AttrAt(const Composition& c, std::size_t i) { return i < c.attrs.size() ? c.attrs[i] : std::uint8_t{kAttrInput}; }

UnderlineStyle StyleOf(std::uint8_t attr) {
  switch (attr) {
    case kAttrTargetConverted:
    case kAttrTargetNotConverted: return UnderlineStyle::kThick;
    case kAttrConverted:
    case kAttrFixedConverted: return UnderlineStyle::kThin;
    default: return UnderlineStyle::kDotted;
  }
}

bool IsClauseStart(const Composition& c, std::size_t i) {
  return std::find(c.clauses.begin(), c.clauses.end(), i) != c.clauses.end();
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u < 0xDC00; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u < 0xE000; }

}  // namespace

std::vector<UnderlineRun> CompositionUnderlines(const Composition& c) {
  std::vector<UnderlineRun> runs;
  for (std::size_t i = 0; i < c.text.size(); ++i) {
    UnderlineStyle style = StyleOf(AttrAt(c, i));
    bool joins = !runs.empty() && runs.back().style == style && !IsClauseStart(c, i);
    if (joins) {
      runs.back().end = i + 1;
    } else {
      runs.push_back({i, i + 1, style});
    }
  }
  return runs;
}

std::size_t TargetStart(const Composition& c) {
  for (std::size_t i = 0; i < c.text.size(); ++i) {
    std::uint8_t attr = AttrAt(c, i);
    if (attr == kAttrTargetConverted || attr == kAttrTargetNotConverted) return i;
  }
  return 0;
}

std::size_t UnitAtAnsiOffset(std::u16string_view text, std::size_t offset, const CodePage932& code_page) {
  std::size_t bytes = 0, i = 0;
  while (i < text.size() && bytes < offset) {
    bool pair = IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    std::uint16_t code = pair ? kNoCode : code_page.CodeOf(text[i]);
    bytes += code != kNoCode && code > 0xFF ? 2 : 1;
    i += pair ? 2 : 1;
  }
  return i;
}

}  // namespace quillet
