// The new document the wizard writes, line by line.
#include "aids/doc_skeleton.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using Lines = std::vector<std::string>;

TEST(DocSkeletonTest, EverythingChosenGivesEighteenLinesInOrder) {
  DocChoices all{.style = "jarticle", .base_size = "12pt", .paper_size = "a4j", .other_options = "twocolumn",
                 .title_page = true, .use_index = true, .title_exist = true, .title = "表題", .author1 = "山田",
                 .author2 = "佐藤", .date = "\\today", .thanks = "感謝", .page_style = "headings",
                 .contents = true, .figure_contents = true, .table_contents = true};
  EXPECT_EQ(SkeletonLines(all),
            (Lines{"\\documentclass[12pt,a4j,titlepage,twocolumn]{jarticle}", "\\usepackage{makeidx}", "\\begin{titlepage}",
                   "\\title{表題}", "\\author{山田\\and 佐藤}", "\\date{\\today}", "\\end{titlepage}", "\\makeindex",
                   "\\begin{document}", "\\thanks{感謝}", "\\maketitle", "\\pagestyle{headings}",
                   "\\tableofcontents", "\\listoffigures", "\\listoftables", "%ここにメインの文書を書く",
                   "\\printindex", "\\end{document}"}));
}

TEST(DocSkeletonTest, NothingChosenGivesFiveLines) {
  DocChoices none{.style = "article", .title_exist = false, .title = "unused", .author1 = "unused"};
  EXPECT_EQ(SkeletonLines(none), (Lines{"\\documentclass{article}", "\\begin{document}", "\\pagestyle{plain}",
                                        "%ここにメインの文書を書く", "\\end{document}"}));
}

TEST(DocSkeletonTest, FieldsAreCopiedAsTypedAndEmptyOnesLeaveTheirLinesOut) {
  struct Row { DocChoices choices; std::size_t line; const char* expected; } rows[] = {
      {{.style = "report", .base_size = "10pt", .other_options = "twocolumn"}, 0,
       "\\documentclass[10pt,twocolumn]{report}"},
      {{.style = "jbook", .paper_size = " b5j "}, 0, "\\documentclass[ b5j ]{jbook}"},
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

// Each engine gets the class file and option it needs; options that are packages under
// LaTeX2e leave the class line for lines of their own.
TEST(DocSkeletonTest, ClassLineSuitsTheEngineAndPackagesGetTheirOwnLines) {
  using E = TeXEngine;
  struct Row { DocChoices choices; Lines head; } rows[] = {
      {{.style = "jarticle", .engine = E::kUpLaTeX}, {"\\documentclass{ujarticle}"}},
      {{.style = "tbook", .engine = E::kUpLaTeX, .base_size = "10pt"}, {"\\documentclass[10pt]{utbook}"}},
      {{.style = "tbook", .engine = E::kPLaTeX}, {"\\documentclass{tbook}"}},
      {{.style = "jsarticle", .engine = E::kUpLaTeX, .paper_size = "a4paper"},
       {"\\documentclass[uplatex,a4paper]{jsarticle}"}},
      {{.style = "jsbook", .engine = E::kPLaTeX}, {"\\documentclass{jsbook}"}},
      {{.style = "jlreq", .engine = E::kPLaTeX, .other_options = "tate"}, {"\\documentclass[platex,tate]{jlreq}"}},
      {{.style = "jlreq", .engine = E::kUpLaTeX, .title_page = true}, {"\\documentclass[titlepage]{jlreq}"}},
      {{.style = "article", .engine = E::kLaTeX, .other_options = "twocolumn,ascmac, epsf"},
       {"\\documentclass[twocolumn]{article}", "\\usepackage{ascmac}", "\\usepackage{epsf}"}},
      {{.style = "jreport", .engine = E::kPLaTeX, .other_options = "makeidx", .use_index = true},
       {"\\documentclass{jreport}", "\\usepackage{makeidx}", "\\title{}"}},  // once
  };
  for (const auto& r : rows) {
    Lines lines = SkeletonLines(r.choices);
    lines.resize(r.head.size());
    EXPECT_EQ(lines, r.head) << r.choices.style << " " << EngineMenuText(r.choices.engine);
  }
}

}  // namespace
}  // namespace quillet
