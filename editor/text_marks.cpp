#include "editor/text_marks.h"

#include <algorithm>

#include "core/text_encode.h"

namespace quillet {

namespace {
constexpr std::uint16_t kFullWidthSpaceCode = 0x8140;  // "　"
}  // namespace

void FindBlanks(std::string_view text, std::size_t from, std::size_t to, bool spaces, bool tabs,
                std::vector<BlankChar>& out) {
  out.clear();
  if (!spaces && !tabs) return;
  std::string_view part = text.substr(std::min(from, text.size()), to > from ? to - from : 0);
  for (TextWalker walk(part); !walk.done(); walk.Next()) {
    std::uint16_t code = walk.Code();
    if (tabs && code == '\t') out.push_back({from + walk.pos(), BlankKind::kTab});
    if (spaces && code == kFullWidthSpaceCode) out.push_back({from + walk.pos(), BlankKind::kFullWidthSpace});
  }
}

}  // namespace quillet
