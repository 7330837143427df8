// What the bridges make of TeX Quillet's commands and which engine a format runs.
#include "bridges/bridge_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

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
      {none, "platex", "pLaTeX", "platex -kanji=sjis"},
      {none, "lplain", "pLaTeX", "platex -kanji=sjis"},  // known by its menu text
      {none, "UpLaTeX", "", "uplatex -kanji=sjis"},
      {none, "lplain", "LaTeX2e", ""},
      {mine, "platex", "pLaTeX", "platex -kanji=utf8"},
      {mine, "myfmt", "Draft", "ptex"},
  };
  for (auto r : rows) EXPECT_EQ(EngineCommandFor(r.table, r.format, r.menu), r.command) << r.format << "/" << r.menu;
}

TEST(BridgeCommandsTest, ShellWordsKeepEveryByte) {
  EXPECT_EQ(ShellQuote("it's"), "'it'\\''s'");
  EXPECT_EQ(ShellQuote("/tmp/a b/$x`y`"), "'/tmp/a b/$x`y`'");
  EXPECT_EQ(FailureLog("ﾒｯｾｰｼﾞ"), "This is quillet-tex, the engine bridge of TeX Quillet.\r\n! ﾒｯｾｰｼﾞ\r\n? \r\n");
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Showing a document again tells the viewer that shows it to read it again; once that
// viewer is gone, showing starts a new one.
TEST(BridgeCommandsTest, ShowingAgainTellsTheRunningViewer) {
  auto dir = std::filesystem::temp_directory_path() / ("quillet-show-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string pdf = (dir / "表 a.pdf").string(), pids = (dir / "viewer.pid").string(), log = (dir / "log").string();
  std::string viewer = "sh -c 'echo up >> " + ShellQuote(log) + "; trap \"echo hup >> " + log +
                       "\" HUP; while :; do sleep 0.05; done' viewer";
  std::string script = (dir / "show.sh").string();
  std::ofstream(script) << ShowScript(viewer, pdf, pids);
  auto show = [&] {
    std::system(("sh " + ShellQuote(script)).c_str());
    ::usleep(300000);
  };
  show();
  std::string first = ReadAll(pids);
  show();
  EXPECT_EQ(ReadAll(pids), first);
  EXPECT_EQ(ReadAll(log), "up\nhup\n");
  std::system(("kill " + first).c_str());
  ::usleep(200000);
  show();
  EXPECT_NE(ReadAll(pids), first);
  EXPECT_EQ(ReadAll(log), "up\nhup\nup\n");
  std::system(("kill $(cat " + ShellQuote(pids) + ")").c_str());
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quillet
