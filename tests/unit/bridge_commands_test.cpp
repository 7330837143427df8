// What the bridges make of TeX Quillet's commands and which engine a format runs.
#include "bridges/bridge_commands.h"
#include "bridges/ptex_family.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "tex/log_scan.h"
#include "tex/tex_commands.h"
#include "tex/source_encoding.h"

namespace quillet {
namespace {

TEST(BridgeCommandsTest, VirtexAndViewerCommandsAreReadAsTheProgramWritesThem) {
  struct Row { const char* text; const char* source; int format; } rows[] = {
      {"[virtex(C:\\DOC\\A.TEX,0)]", "C:\\DOC\\A.TEX", 0},
      {"[virtex(Z:\\論文 表.tex,12)]", "Z:\\論文 表.tex", 12},  // 表 ends in 0x5C
      {"[virtex(a,b,1)]", "a,b", 1},
  };
  for (auto r : rows) {
    std::optional<VirtexCommand> run = ParseVirtexCommand(r.text);
    ASSERT_TRUE(run) << r.text;
    EXPECT_EQ(run->source, r.source);
    EXPECT_EQ(run->format, r.format);
  }
  for (const char* bad : {"[virtex(a)]", "[virtex(,1)]", "[virtex(a,x)]", "virtex(a,1)", "[virtex(a,1)", ""}) {
    EXPECT_FALSE(ParseVirtexCommand(bad)) << bad;
  }
  EXPECT_EQ(ParseViewerCommand("[FileOpen(\"C:\\a b.dvi\")]").file, "C:\\a b.dvi");
  EXPECT_EQ(ParseViewerCommand("[FileOpen(C:\\表.dvi)]").file, "C:\\表.dvi");
  EXPECT_EQ(ParseViewerCommand("[WinNormal]").kind, ViewerCommand::Show);
  EXPECT_EQ(ParseViewerCommand("[FilePrint]").kind, ViewerCommand::Print);
  EXPECT_EQ(ParseViewerCommand("[FileOpen()]").kind, ViewerCommand::Other);
  // As the program writes it.
  const std::string sent = ViewerForwardSearchCommand("C:\\論文 表.tex", 20, 3);
  const std::string odd = ViewerForwardSearchCommand("a,b).tex", 1, 1);
  struct Place { const char* text; const char* source; int line, page; } places[] = {
      {sent.c_str(), "C:\\論文 表.tex", 20, 3},
      {odd.c_str(), "a,b).tex", 1, 1},
      {"[ForwardSearch(\"a.tex\",0,1)]", "", 0, 0},  // lines and pages count from 1
      {"[ForwardSearch(\"a.tex\",2)]", "", 0, 0},
      {"[ForwardSearch(\"a.tex\",2,3,4)]", "", 0, 0},
      {"[ForwardSearch(a.tex,2,3)]", "", 0, 0},
      {"[ForwardSearch(\"\",2,3)]", "", 0, 0},
  };
  for (auto p : places) {
    ViewerCommand got = ParseViewerCommand(p.text);
    EXPECT_EQ(got.kind, *p.source ? ViewerCommand::Place : ViewerCommand::Other) << p.text;
    EXPECT_EQ(got.file, p.source) << p.text;
    EXPECT_EQ(got.line, p.line) << p.text;
    EXPECT_EQ(got.page, p.page) << p.text;
  }
}

class Table : public ProfileSource {
 public:
  explicit Table(std::map<std::string, std::string> engines) : engines_(std::move(engines)) {}
  std::string ReadString(const char* section, const char* key, const std::string& def) const override {
    auto found = engines_.find(key);
    return std::string(section) == "Engines" && found != engines_.end() ? found->second : def;
  }

 private:
  std::map<std::string, std::string> engines_;
};

TEST(BridgeCommandsTest, TheUsersTableComesBeforeTheBuiltInEngines) {
  Table none({}), mine({{"platex", "platex -kanji=utf8"}, {"Draft", "ptex"}});
  struct Row { const Table& table; const char* format; const char* menu; const char* command; } rows[] = {
      {none, "platex", "pLaTeX", "platex"},
      {none, "lplain", "pLaTeX", "platex"},  // known by its menu text
      {none, "UpLaTeX", "", "uplatex"},
      {none, "lplain", "LaTeX2e", ""},
      {mine, "platex", "pLaTeX", "platex -kanji=utf8"},
      {mine, "myfmt", "Draft", "ptex"},
  };
  for (auto r : rows) EXPECT_EQ(EngineCommandFor(r.table, r.format, r.menu), r.command) << r.format << "/" << r.menu;
}

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// The engine reads the source in its own code: the main file's, else that of the first
// file it reads in that holds more than ASCII, else the code of new documents (EUC here).
TEST(BridgeCommandsTest, ThePTeXFamilyIsToldTheCodeOfItsSource) {
  using Files = std::map<std::string, std::string>;
  const std::string sjis = "\\section{見出し}", utf8 = Utf8(u8"\\section{見出し}"),
                    euc = "\\section{\xB8\xAB\xBD\xD0\xA4\xB7}", jis = "\\section{\x1b$B8+=P$7\x1b(B}";
  struct Row { const char* what; const char* command; std::string main; Files files; const char* expected; } rows[] = {
      {"Shift-JIS", "platex", sjis, {}, "platex -kanji=sjis"},
      {"UTF-8", "platex", utf8, {}, "platex -kanji=utf8"},
      {"EUC-JP", "platex", euc, {}, "platex -kanji=euc"},
      {"ISO-2022-JP", "platex", jis, {}, "platex -kanji=jis"},
      {"an input chapter", "platex", "\\input{chap}", {{"chap.tex", utf8}}, "platex -kanji=utf8"},
      {"the first chapter with more than ASCII", "uplatex", "\\input chap \\include{b}\\input{c}",
       {{"chap.tex", "ascii"}, {"b.tex", sjis}, {"c.tex", utf8}}, "uplatex -kanji=sjis"},
      {"a comment", "platex", "% \\input{u}\n\\include{s}", {{"u.tex", utf8}, {"s.tex", sjis}}, "platex -kanji=sjis"},
      {"nested, with extension and folder", "platex", "\\input{sub/c}", {{"sub/c.tex", "\\input{d.ltx}"}, {"d.ltx", jis}},
       "platex -kanji=jis"},
      {"nothing but ASCII", "platex", "\\input{missing}\\input{main}", {{"main.tex", "\\input{main}"}}, "platex -kanji=euc"},
      {"set by the command", "platex -kanji=sjis", utf8, {}, "platex -kanji=sjis"},
      {"set with two dashes", "ptex --kanji=euc", utf8, {}, "ptex --kanji=euc"},
      {"inner code only", "platex -kanji-internal=euc", utf8, {}, "platex -kanji-internal=euc -kanji=utf8"},
      {"-dev and e- forms", "uplatex-dev", utf8, {}, "uplatex-dev -kanji=utf8"},
      {"by path", "\"C:\\texlive\\bin\\EPTEX.EXE\" -ini", utf8, {}, "\"C:\\texlive\\bin\\EPTEX.EXE\" -ini -kanji=utf8"},
      {"no pTeX", "latex", utf8, {}, "latex"},
      {"no pTeX either", "lualatex", utf8, {}, "lualatex"},
  };
  for (const auto& r : rows) {
    auto read = [&r](const std::string& name) -> std::optional<std::string> {
      auto found = r.files.find(name);
      return found == r.files.end() ? std::nullopt : std::optional(found->second);
    };
    EXPECT_EQ(WithKanjiOption(r.command, SourceEncoding(r.main, read).value_or(Encoding::kEucJp)), r.expected) << r.what;
  }
}

// pTeX and pLaTeX read only JIS X 0208 in the name they are started on.
TEST(BridgeCommandsTest, PTeXRefusesNamesOutsideJisX0208) {
  struct Row { const char* command; const char* name; const char* refused; } rows[] = {
      {"platex", "論文 表ソ～∥－￢(2).tex", ""},
      {"platex", "ｱｲｳ.tex", "ｱ"},
      {"ptex", "a①.tex", "①"},
      {"platex-dev", "髙木.tex", "髙"},
      {"platex", "a\xF0\x40.tex", "\xF0\x40"},  // user-defined
      {"uplatex", "ｱ①髙.tex", ""},
      {"latex", "ｱ①髙.tex", ""},
  };
  for (auto r : rows) EXPECT_EQ(CharEngineCannotTake(r.command, r.name), r.refused) << r.command << " " << r.name;
}

TEST(BridgeCommandsTest, ShellWordsKeepEveryByte) {
  EXPECT_EQ(ShellQuote("it's"), "'it'\\''s'");
  EXPECT_EQ(ShellQuote("/tmp/a b/$x`y`"), "'/tmp/a b/$x`y`'");
  EXPECT_EQ(PageArguments("/usr/bin/mupdf -r 96", "'a.pdf'", 3), "'a.pdf' 3");
  EXPECT_EQ(PageArguments("zathura", "'a.pdf'", 3), "-P 3 'a.pdf'");
  EXPECT_EQ(PageArguments("xpdf", "'a.pdf'", 3), "");
  EXPECT_EQ(ScanTeXLog(FailureLog("ﾒｯｾｰｼﾞ")).text, "TeXを実行できませんでした。\r\n! ﾒｯｾｰｼﾞ");
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Showing a document again tells the viewer that shows it to read it again; once that
// viewer is gone, showing starts a new one. Showing a page restarts it there.
TEST(BridgeCommandsTest, ShowingAgainTellsTheRunningViewer) {
  auto dir = std::filesystem::temp_directory_path() / ("quillet-show-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string pdf = (dir / "表 a.pdf").string(), pids = (dir / "viewer.pid").string(), log = (dir / "log").string();
  // Named as a viewer that takes a page after the file.
  std::string viewer = (dir / "mupdf").string();
  std::ofstream(viewer) << "#!/bin/sh\necho \"up $#${2:+ $2}\" >> " + ShellQuote(log) + "\ntrap 'echo hup >> " + log +
                               "' HUP\nwhile :; do sleep 0.05; done\n";
  std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);
  std::string script = (dir / "show.sh").string();
  auto show = [&](int page) {
    std::ofstream(script) << ShowScript(viewer, pdf, pids, page);
    std::system(("sh " + ShellQuote(script)).c_str());
    ::usleep(300000);
  };
  show(0);
  std::string first = ReadAll(pids);
  show(0);
  EXPECT_EQ(ReadAll(pids), first);
  EXPECT_EQ(ReadAll(log), "up 1\nhup\n");
  std::system(("kill " + first).c_str());
  ::usleep(200000);
  show(0);
  std::string second = ReadAll(pids);
  EXPECT_NE(second, first);
  show(7);
  EXPECT_NE(ReadAll(pids), second);
  EXPECT_EQ(ReadAll(log), "up 1\nhup\nup 1\nup 2 7\n");
  std::system(("kill $(cat " + ShellQuote(pids) + ")").c_str());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillet
