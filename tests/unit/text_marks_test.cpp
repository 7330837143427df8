#include "editor/text_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

constexpr BlankKind S = BlankKind::kFullWidthSpace, T = BlankKind::kTab;

// "ａ" is 0x82 0x81: before "@" (0x40) its trail and the "@" make the bytes of "　"
// (0x81 0x40). "\xF0\x81" is a code of a document's own characters.
TEST(TextMarksTest, FindsWholeFullWidthSpacesAndTabsOnly) {
  struct Row { std::string text; std::size_t from, to; bool spaces, tabs; std::vector<BlankChar> found; } rows[] = {
      {"a　b\tc", 0, 6, true, true, {{1, S}, {4, T}}},
      {"a　b\tc", 0, 6, true, false, {{1, S}}},
      {"a　b\tc", 0, 6, false, true, {{4, T}}},
      {"a　b\tc", 0, 6, false, false, {}},
      {"a　b\tc", 3, 6, true, true, {{4, T}}},  // only the part asked for
      {"a　b\tc", 0, 3, true, true, {{1, S}}},
      {"ａ@　", 0, 5, true, true, {{3, S}}},
      {"\xF0\x81@", 0, 3, true, true, {}},
      {"\x82\t　", 0, 4, true, true, {{1, T}, {2, S}}},  // a lone lead byte before a tab
      {"　\x81", 0, 3, true, true, {{0, S}}},            // a lead byte cut off at the end
  };
  for (const auto& r : rows) {
    std::vector<BlankChar> found{{99, T}};
    FindBlanks(r.text, r.from, r.to, r.spaces, r.tabs, found);
    EXPECT_EQ(found, r.found) << r.text << " " << r.from << ".." << r.to << " " << r.spaces << r.tabs;
  }
}

}  // namespace
}  // namespace quillet
