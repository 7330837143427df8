// The classes the wizard offers, as the installed TeX has them.
#include "aids/document_classes.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// "jarticle:pLaTeX/upLaTeX jsbook:pLaTeX" for what is offered.
std::string Offer(const InstalledClasses& installed) {
  std::string text;
  for (const OfferedClass& row : OfferedClasses(installed)) {
    text += text.empty() ? "" : " ";
    text += row.doc_class->name;
    for (std::size_t i = 0; i < row.variants.size(); ++i) {
      text.append(i ? "/" : ":").append(EngineMenuText(row.variants[i].engine));
    }
  }
  return text;
}

TEST(DocumentClassesTest, OnlyInstalledClassesAreOfferedWithTheEnginesThatHaveThem) {
  const std::string everything =
      "jsarticle:pLaTeX/upLaTeX jsreport:pLaTeX/upLaTeX jsbook:pLaTeX/upLaTeX jlreq:upLaTeX/pLaTeX "
      "jarticle:pLaTeX/upLaTeX jreport:pLaTeX/upLaTeX jbook:pLaTeX/upLaTeX tarticle:pLaTeX/upLaTeX "
      "treport:pLaTeX/upLaTeX tbook:pLaTeX/upLaTeX article:LaTeX report:LaTeX book:LaTeX";
  struct Row { InstalledClasses installed; std::string offer; } rows[] = {
      {std::nullopt, everything},
      {std::set<std::string>{}, everything},  // a list that leaves nothing is no help
      {std::set<std::string>{"jarticle.cls", "ujbook.cls", "jsarticle.cls", "article.cls", "jlreq.cls", "etoolbox.sty"},
       "jsarticle:pLaTeX/upLaTeX jarticle:pLaTeX jbook:upLaTeX article:LaTeX"},  // jlreq lacks everyhook
      {std::set<std::string>{"jlreq.cls", "etoolbox.sty", "everyhook.sty", "svn-prov.sty", "filehook.sty", "lmodern.sty"},
       "jlreq:upLaTeX/pLaTeX"},
  };
  for (const auto& r : rows) EXPECT_EQ(Offer(r.installed), r.offer);
}

TEST(DocumentClassesTest, ListFileKeepsTheFoundNamesAndTheBridgeAsksForEveryFile) {
  std::vector<std::string> files = FilesToFind();
  // js x3, jlreq and the five packages it loads, j/t x6 with their u twins x6, article, report, book
  EXPECT_EQ(files.size(), 24u);
  EXPECT_EQ(ParseClassList(ClassListText(files)), std::set<std::string>(files.begin(), files.end()));
  EXPECT_EQ(ParseClassList("; comment\r\n jlreq.cls \r\n\r\nujarticle.cls\n"),
            (std::set<std::string>{"jlreq.cls", "ujarticle.cls"}));
}

TEST(DocumentClassesTest, FormatsNameTheirEngine) {
  struct Row { const char* format; std::optional<TeXEngine> engine; } rows[] = {
      {"platex", TeXEngine::kPLaTeX}, {"pLaTeX", TeXEngine::kPLaTeX},   {"platex-dev", TeXEngine::kPLaTeX},
      {"uplatex", TeXEngine::kUpLaTeX}, {"upLaTeX", TeXEngine::kUpLaTeX}, {"latex", TeXEngine::kLaTeX},
      {"pdflatex", TeXEngine::kLaTeX}, {"tex", std::nullopt},            {"", std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(EngineOfFormat(r.format), r.engine) << r.format;
}

}  // namespace
}  // namespace quillet
