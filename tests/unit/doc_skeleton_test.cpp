// The new document the wizard writes, line by line.
#include "aids/doc_skeleton.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using Lines = std::vector<std::string>;

TEST(DocSkeletonTest, EverythingChosenGivesSeventeenLinesInOrder) {
  DocChoices all{.style = "jarticle", .base_size = "12pt", .paper_size = "a4j", .other_options = "twocolumn",
                 .title_page = true, .use_index = true, .title_exist = true, .title = "表題", .author1 = "山田",
                 .author2 = "佐藤", .date = "\\today", .thanks = "感謝", .page_style = "headings",
                 .contents = true, .figure_contents = true, .table_contents = true};
  EXPECT_EQ(SkeletonLines(all),
            (Lines{"\\documentstyle[12pt,a4j,titlepage,makeidx,twocolumn]{jarticle}", "\\begin{titlepage}",
                   "\\title{表題}", "\\author{山田\\and 佐藤}", "\\date{\\today}", "\\end{titlepage}", "\\makeindex",
                   "\\begin{document}", "\\thanks{感謝}", "\\maketitle", "\\pagestyle{headings}",
                   "\\tableofcontents", "\\listoffigures", "\\listoftables", "%ここにメインの文書を書く",
                   "\\printindex", "\\end{document}"}));
}

TEST(DocSkeletonTest, NothingChosenGivesFiveLines) {
  DocChoices none{.style = "article", .title_exist = false, .title = "unused", .author1 = "unused"};
  EXPECT_EQ(SkeletonLines(none), (Lines{"\\documentstyle{article}", "\\begin{document}", "\\pagestyle{plain}",
                                        "%ここにメインの文書を書く", "\\end{document}"}));
}

TEST(DocSkeletonTest, FieldsAreCopiedAsTypedAndEmptyOnesLeaveTheirLinesOut) {
  struct Row { DocChoices choices; std::size_t line; const char* expected; } rows[] = {
      {{.style = "report", .base_size = "10pt", .other_options = "twocolumn"}, 0,
       "\\documentstyle[10pt,twocolumn]{report}"},
      {{.style = "jbook", .paper_size = " b5j "}, 0, "\\documentstyle[ b5j ]{jbook}"},
      {{.style = "x"}, 1, "\\title{}"},           // an empty title still gives its line ...
      {{.style = "x"}, 3, "\\begin{document}"},   // ... an empty date none
      {{.style = "x"}, 4, "\\maketitle"},
      {{.style = "x", .author1 = "A", .author2 = "B"}, 2, "\\author{A\\and B}"},
      {{.style = "x", .author2 = "B"}, 2, "\\author{\\and B}"},
      {{.style = "x", .date = "2026年12月8日"}, 3, "\\date{2026年12月8日}"},
  };
  for (const auto& r : rows) {
    Lines lines = SkeletonLines(r.choices);
    ASSERT_GT(lines.size(), r.line);
    EXPECT_EQ(lines[r.line], r.expected);
  }
}

}  // namespace
}  // namespace quillet
