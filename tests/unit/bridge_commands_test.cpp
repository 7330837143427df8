// What the bridges make of TeX Quillet's commands and which engine a format runs.
#include "bridges/bridge_commands.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quillet
