// The chain from a source to a finished .dvi: which tools run for which format and code,
// in which order, what their logs say went wrong, and the chain itself with the real
// latexmk, pbibtex and mendex on a Shift-JIS document in a Japanese-named folder.
#include "bridges/tex_chain.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "bridges/bridge_commands.h"
#include "tests/unit/iconv_code_page.h"

namespace quillet {
namespace {

TEST(TexChainTest, EachFormatGetsItsToolsInTheSourcesCode) {
  struct Row {
    const char* command;
    Encoding encoding;
    const char* engine;
    const char* bibliography;
    const char* index;
  } rows[] = {
      {"platex", Encoding::kShiftJis, "platex -kanji=sjis -synctex=1", "pbibtex -kanji=sjis", "mendex -f -S"},
      {"/usr/bin/eplatex", Encoding::kEucJp, "/usr/bin/eplatex -kanji=euc -synctex=1", "pbibtex -kanji=euc",
       "mendex -f -E"},
      {"platex -kanji=utf8 -synctex=-1", Encoding::kShiftJis, "platex -kanji=utf8 -synctex=-1", "pbibtex -kanji=sjis",
       "mendex -f -S"},
      {"uplatex", Encoding::kUtf8, "uplatex -kanji=utf8 -synctex=1", "upbibtex -kanji=utf8", "upmendex -f"},
      {"uplatex", Encoding::kShiftJis, "uplatex -kanji=sjis -synctex=1", "upbibtex -kanji=sjis", "mendex -f -S"},
      {"latex", Encoding::kUtf8, "latex -synctex=1", "bibtex", "makeindex"},
  };
  for (const Row& r : rows) {
    std::optional<ChainTools> tools = ChainToolsFor(r.command, r.encoding);
    ASSERT_TRUE(tools) << r.command;
    EXPECT_EQ(tools->engine, r.engine);
    EXPECT_EQ(tools->bibliography, r.bibliography);
    EXPECT_EQ(tools->index, r.index);
  }
  for (const char* one_pass : {"ptex", "uptex", "tex", "lualatex", "mybuild.sh"}) {
    EXPECT_FALSE(ChainToolsFor(one_pass, Encoding::kUtf8)) << one_pass;
  }
  EXPECT_EQ(WithSyncTeX("ptex -kanji=sjis"), "ptex -kanji=sjis -synctex=1");
  EXPECT_EQ(WithSyncTeX("sh -c 'exec sleep 9' x"), "sh -c 'exec sleep 9' x");
}

TEST(TexChainTest, JobNamesArePlainAsciiAndStablePerSource) {
  EXPECT_EQ(JobNameFor("paper-2.final.tex"), "paper-2.final");
  std::string japanese = JobNameFor("表ソ.tex");
  EXPECT_EQ(japanese.rfind("quillet-", 0), 0u);
  EXPECT_EQ(japanese, JobNameFor("表ソ.tex"));
  EXPECT_NE(japanese, JobNameFor("表.tex"));
  EXPECT_NE(JobNameFor("a b.tex"), "a b");
  EXPECT_NE(JobNameFor("-x.tex"), "-x");
}

TEST(TexChainTest, PassesRunTheToolsOnceThenTheEngineUntilSettledAndNoMore) {
  ChainTools tools = *ChainToolsFor("platex", Encoding::kShiftJis);
  const std::string cites = "\\citation{a}\n\\bibdata{refs}\n";
  struct Row {
    const char* what;
    PassFacts facts;
    ChainStep next;
  } rows[] = {
      {"first pass cites and indexes", {false, cites, "\\indexentry{x}{1}", false}, ChainStep::kBibliography},
      {"then the index", {false, cites, "\\indexentry{x}{1}", false}, ChainStep::kIndex},
      {"then the engine reads both", {false, cites, "\\indexentry{x}{1}", false}, ChainStep::kEngine},
      {"labels changed", {false, cites, "\\indexentry{x}{1}", true}, ChainStep::kEngine},
      {"settled", {false, cites, "\\indexentry{x}{1}", false}, ChainStep::kDone},
  };
  ChainProgress progress;
  for (const Row& r : rows) EXPECT_EQ(NextStep(tools, r.facts, progress), r.next) << r.what;

  ChainProgress errors;
  EXPECT_EQ(NextStep(tools, {true, cites, "x", true}, errors), ChainStep::kDone);
  ChainProgress restless;
  int passes = 1;
  while (NextStep(tools, {false, "", "", true}, restless) == ChainStep::kEngine) ++passes;
  EXPECT_EQ(passes, kMaxEnginePasses);
  EXPECT_TRUE(LogAsksRerun("LaTeX Warning: Label(s) may have changed. Rerun to get cross-references right."));
  EXPECT_FALSE(LogAsksRerun("LaTeX Warning: There were undefined references."));
  EXPECT_EQ(CitationLines("\\relax\n\\citation{a}\n\\newlabel{x}{{1}{1}}\n\\bibstyle{jplain}\r\n"),
            "\\citation{a}\n\\bibstyle{jplain}\n");
}

TEST(TexChainTest, ToolLogsGiveTheirErrorsAndNotTheirWarnings) {
  const char* blg =
      "This is pBibTeX, Version 0.99d-j0.33\n"
      "Database file #1: refs.bib\n"
      "I was expecting a `,' or a `}'---line 5 of file refs.bib\n"
      " :   title = {x}\n"
      "I couldn't open database file nope.bib\n"
      "---line 3 of file q.aux\n"
      "Warning--I didn't find a database entry for \"zz\"\n"
      "(There were 2 error messages)\n";
  std::vector<ToolError> bib = BibliographyErrors(blg);
  ASSERT_EQ(bib.size(), 2u);
  EXPECT_EQ(bib[0].file, "refs.bib");
  EXPECT_EQ(bib[0].line, 5);
  EXPECT_EQ(bib[0].message, "I was expecting a `,' or a `}'");
  EXPECT_EQ(bib[1].file, "");  // the tool's own .aux is not the user's
  EXPECT_EQ(bib[1].message, "I couldn't open database file nope.bib");

  struct Lines { const char* bytes; int counted, line; } lines[] = {
      {"a\nb\nc\n", 3, 3}, {"a\r\nb\r\nc\r\n", 5, 3}, {"a\r\nb\r\nc\r\n", 4, 2}, {"a\rb\nc", 3, 3}, {"", 7, 1},
  };
  for (const Lines& l : lines) EXPECT_EQ(LineInFile(l.bytes, l.counted), l.line) << l.bytes << l.counted;

  std::vector<ToolError> mendex = IndexErrors(
      "Scanning input file j.idx.\nError: \x95\x5c\x8e\xa6 is no entry in dictionary file in j.idx, line 1."
      "...done (0 entries accepted, 1 rejected).\n");
  ASSERT_EQ(mendex.size(), 1u);
  EXPECT_EQ(mendex[0].message.rfind("\x95\x5c\x8e\xa6 is no entry", 0), 0u);
  std::vector<ToolError> makeindex =
      IndexErrors("!! Input index error (file = j.idx, line = 3):\n   -- Extra `@' at position 5.\n## Warning x\n");
  ASSERT_EQ(makeindex.size(), 1u);
  EXPECT_EQ(makeindex[0].message, "Input index error (file = j.idx, line = 3): -- Extra `@' at position 5.");

  std::vector<ToolError> latexmk = LatexmkErrors(
      "Latexmk: I WON'T RUN 'bibtex j' because I don't find the following files:\n  refs.bib\n"
      "Latexmk: I WON'T RUN 'bibtex j' because I don't find the following files:\n  refs.bib\n"
      "Latexmk: Couldn't find aux file 'j.aux'\n");
  ASSERT_EQ(latexmk.size(), 1u);
  EXPECT_EQ(latexmk[0].message, "I WON'T RUN 'bibtex j' because I don't find the following files: refs.bib");
  EXPECT_EQ(ChainReport("step", bib), "!> step\n!> refs.bib:5: I was expecting a `,' or a `}'\n"
                                      "!> I couldn't open database file nope.bib\n");
}

TEST(TexChainTest, TheInputsOfARunAreTheSourceFoldersFilesOnly) {
  const char* fls =
      "PWD /d/文書/.quillet-tex\n"
      "INPUT /usr/share/texlive/texmf-dist/tex/platex/base/jarticle.cls\n"
      "INPUT ../main.tex\n"
      "INPUT ./main.aux\n"
      "INPUT main.aux\n"
      "INPUT /d/文書/章/第一章.tex\n"
      "INPUT ../章/第一章.tex\n"
      "INPUT /d/文書/my.sty\n"
      "OUTPUT main.log\n";
  auto same = [](const std::string& name) { return name; };
  EXPECT_EQ(ChainInputs(fls, "Database file #1: refs.bib\n", "/d/文書", "main.tex", same),
            (std::vector<std::string>{"章\\第一章.tex", "my.sty", "refs.bib"}));
  // Windows names, a trail byte 0x5C among them (表), and ASCII case.
  EXPECT_EQ(ChainInputs("INPUT C:\\Doc\\表.tex\nINPUT c:/doc/b.tex\nINPUT ../MAIN.tex\n", "", "C:\\DOC\\", "main.tex",
                        [](const std::string& name) { return name == "MAIN.tex" ? "main.tex" : name; }),
            (std::vector<std::string>{"表.tex", "b.tex"}));
  // Under Wine the tools find the folder through the drive's link resolved.
  EXPECT_EQ(ChainInputs("PWD /p/drive_c/doc/.quillet-tex\nINPUT /p/drive_c/doc/chap.tex\nINPUT /p/drive_c/docs/x.tex\n", "",
                        "/p/dosdevices/c:/doc", "main.tex", same),
            std::vector<std::string>{"chap.tex"});
}

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Literals here are in the program's code page; Linux names files in UTF-8.
std::string Utf8(const std::string& cp932) { return Iconv(cp932, "CP932", "UTF-8"); }

void Put(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// The bridge's script and configuration with the real tools, as under Wine: the
// bibliography keeps ソ and 表 whole, the index is made, the references settle; a second
// run finds everything up to date; a broken .bib is found in its .blg.
TEST(TexChainTest, TheRealChainSettlesAJapaneseDocument) {
  if (std::system("command -v latexmk >/dev/null && command -v pbibtex >/dev/null && command -v upmendex >/dev/null")) {
    GTEST_SKIP() << "latexmk or the pTeX tools are not installed";
  }
  fs::path folder = fs::temp_directory_path() / ("chain-" + std::to_string(getpid())) / Utf8("和文 (2)");
  fs::remove_all(folder.parent_path());
  fs::create_directories(folder / ".quillet-tex");
  struct Row {
    const char* what;
    const char* engine;
    Encoding encoding;
    const char* cls;
  } rows[] = {{"pLaTeX, Shift-JIS", "platex", Encoding::kShiftJis, "jsarticle"},
              {"upLaTeX, UTF-8", "uplatex", Encoding::kUtf8, "ujarticle"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    auto code = [&](const std::string& utf8) { return r.encoding == Encoding::kUtf8 ? Utf8(utf8) : utf8; };
    std::string source = Utf8("文書") + (r.encoding == Encoding::kUtf8 ? "u" : "s") + ".tex";
    Put(folder / source, code(std::string("\\documentclass{") + r.cls + "}\n\\usepackage{makeidx}\\makeindex\n"
                              "\\begin{document}\n表示\\index{表示}。\\ref{later}、\\cite{soft}。\n"
                              "\\section{後}\\label{later}\n\\bibliographystyle{jplain}\\bibliography{refs}\n"
                              "\\printindex\n\\end{document}\n"));
    Put(folder / "refs.bib", code("@book{soft, author={山田 太郎}, title={ソフト表現の表}, publisher={出版}, year=2020}\n"));
    ChainTools tools = *ChainToolsFor(r.engine, r.encoding);
    fs::path work = folder / ".quillet-tex";
    std::string job = JobNameFor(source);
    Put(work / "quillet.latexmkrc", LatexmkConfig(tools));
    auto run = [&] {
      fs::remove(work / "done");
      Put(work / "alive", "");
      EngineRun step{work.string(), ChainVariables({}, [](const std::string& s) { return s; }),
                     LatexmkCommand("latexmk", "quillet.latexmkrc", false, job, source, Quoting::kShell),
                     (work / "step.txt").string(), (work / "done").string(), (work / "alive").string(),
                     (work / "stop").string()};
      Put(work / "run.sh", EngineScript(step));
      EXPECT_EQ(std::system(("sh " + ShellQuote((work / "run.sh").string())).c_str()), 0);
      return std::atoi(Slurp(work / "done").c_str());
    };
    ASSERT_EQ(run(), 0) << Slurp(work / "step.txt");
    std::string bbl = Slurp(work / (job + ".bbl"));
    EXPECT_NE(bbl.find(code("ソフト表現の表")), std::string::npos) << bbl;
    EXPECT_NE(Slurp(work / (job + ".ind")).find(code("表示")), std::string::npos);
    std::string log = Slurp(work / (job + ".log"));
    EXPECT_FALSE(LogAsksRerun(log));
    EXPECT_EQ(log.find("undefined"), std::string::npos) << log;
    // pTeX names the files it read in EUC-JP, upTeX in UTF-8.
    auto name_of = [](const std::string& name) {
      try {
        return Iconv(name, "UTF-8", "UTF-8");
      } catch (const std::runtime_error&) {
        return Iconv(name, "EUC-JP", "UTF-8");
      }
    };
    EXPECT_EQ(ChainInputs(Slurp(work / (job + ".fls")), Slurp(work / (job + ".blg")), folder.string(), source, name_of),
              std::vector<std::string>{"refs.bib"});
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(Slurp(work / "step.txt").find("Running '"), std::string::npos) << "an unchanged document ran a tool";

    Put(folder / "refs.bib", code("@book{soft, author={山田},\n title={ソ}\n publisher={x}}\n"));
    EXPECT_NE(run(), 0);
    std::vector<ToolError> errors = BibliographyErrors(Slurp(work / (job + ".blg")));
    ASSERT_FALSE(errors.empty()) << Slurp(work / (job + ".blg"));
    EXPECT_EQ(errors[0].file, "refs.bib");
    EXPECT_EQ(errors[0].line, 3);
  }
  fs::remove_all(folder.parent_path());
}

TEST(TexChainTest, ExitCodesReadAsPeopleLookThemUp) {
  struct Row { int status; const char* text; } rows[] = {
      {0, "0"}, {1, "1"}, {139, "139"}, {static_cast<int>(0xC0000005u), "0xC0000005"}, {-1, "0xFFFFFFFF"}};
  for (const auto& r : rows) EXPECT_EQ(ExitCodeText(r.status), r.text);
}

}  // namespace
}  // namespace quillet
