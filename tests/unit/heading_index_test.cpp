// Heading titles as the index reads them, and its sort orders.
#include "aids/heading_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/text_buffer.h"

namespace quillet {
namespace {

// A document as the editor holds it.
struct Document {
  explicit Document(std::string_view text) {
    buffer.set_limit(1u << 30);
    buffer.SetText(text);
  }
  TextBuffer buffer;
  BufferHeadingSource source{buffer};
};

TEST(HeadingIndexTest, TitlesFollowTheBracketRules) {
  std::string long_title(1100, 'x');
  long_title.replace(1022, 2, "表");  // bytes 1022-1023: the cut at 1023 would split it
  struct Row { std::string text; std::string title; } rows[] = {
      {"\\section{Intro}", "Intro"},
      {"\\section*{Intro}", "Intro"},
      {"\\section[Short]{Long title}", "Long title"},
      {"\\section {Intro}", "??"},
      {"\\sectionmark", "??"},
      {"\\section", "??"},
      {"\\section{A", "??"},
      {"\\section{A\r\nB} C}", "A\r\nB"},
      {"\\section{A {B} C}", "A {B"},
      {"\\section[x{Y}", "??"},
      {"\\section{±x}", "±x"},          // "±" is 0x81 0x7D: its second byte is no "}"
      {"\\section[‐]{T}", "T"},          // "‐" is 0x81 0x5D: no "]"
      {"\\section{表示}", "表示"},        // "表" ends in 0x5C
      {"\\section{" + long_title + "}", long_title.substr(0, 1022)},
  };
  for (const auto& r : rows) {
    Document doc(r.text);
    EXPECT_EQ(HeadingTitle(doc.source, std::string_view("\\section").size()), r.title) << r.text;
  }
}

TEST(HeadingIndexTest, KindsSortByteWiseAndLinesByNumber) {
  std::vector<HeadingRow> rows;
  for (std::string_view keyword : kHeadingKeywords) rows.push_back({"", std::string(keyword), "10"});
  std::sort(rows.begin(), rows.end(), KindBefore);
  std::vector<std::string> kinds;
  for (const auto& r : rows) kinds.push_back(r.kind);
  EXPECT_EQ(kinds, (std::vector<std::string>{"\\chapter", "\\paragraph", "\\part", "\\section", "\\subparagraph",
                                             "\\subsection", "\\subsubsection"}));
  EXPECT_TRUE(LineBefore({"", "", "9"}, {"", "", "10"}));
  EXPECT_EQ(LineNumberOf({"", "", "x"}), 0);
}

}  // namespace
}  // namespace quillet
