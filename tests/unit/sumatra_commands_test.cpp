// SumatraPDF as the viewer: knowing it from the Show setting, the DDE commands it is sent
// and the command line that starts it.
#include "bridges/sumatra_commands.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(SumatraCommandsTest, SumatraIsKnownByItsProgramFile) {
  struct Row { const char* command; bool sumatra; } rows[] = {
      {"SumatraPDF.exe", true},
      {"sumatrapdf.EXE", true},
      {"\"C:\\Program Files\\SumatraPDF\\SumatraPDF.exe\" -bg-color #ffffff", true},
      {"C:\\Program Files\\SumatraPDF\\SumatraPDF.exe -reuse-instance", true},
      {"  C:/Tools/SumatraPDF.exe", true},
      {"C:\\表\\SumatraPDF.exe", true},
      {"C:\\表SumatraPDF.exe", false},  // 表 ends in the byte 0x5C: no folder ends there
      {"C:\\SumatraPDF\\AcroRd32.exe", false},
      {"\"C:\\Viewers\\MySumatraPDF.exe\"", false},
      {"SumatraPDF.exe.lnk", false},
      {"", false},
  };
  for (const auto& r : rows) EXPECT_EQ(IsSumatraViewer(r.command), r.sumatra) << r.command;
}

TEST(SumatraCommandsTest, DdeCommandsNameThePdfTheSourceAndThePlace) {
  EXPECT_EQ(SumatraOpenCommand("C:\\表 文書\\論文.pdf"), "[Open(\"C:\\表 文書\\論文.pdf\",0,1,1)]");
  EXPECT_EQ(SumatraGotoPageCommand("C:\\表 文書\\論文.pdf", 12), "[GotoPage(\"C:\\表 文書\\論文.pdf\",12)]");
  EXPECT_EQ(SumatraForwardSearchCommand("C:\\表 文書\\論文.pdf", "C:\\表 文書\\第1章.tex", 345),
            "[ForwardSearch(\"C:\\表 文書\\論文.pdf\",\"C:\\表 文書\\第1章.tex\",345,0,0,1)]");
}

TEST(SumatraCommandsTest, StartLineQuotesTheProgramAndTheNamesAndKeepsTheUsersArguments) {
  struct Row { const char* viewer; const char* pdf; const char* quillet; const char* line; } rows[] = {
      {"C:\\Program Files\\SumatraPDF\\SumatraPDF.exe", "C:\\文書 表\\論文.pdf",
       "C:\\Program Files\\TeX Quillet\\Quillet.exe",
       "\"C:\\Program Files\\SumatraPDF\\SumatraPDF.exe\" -reuse-instance -inverse-search "
       "\"\\\"C:\\Program Files\\TeX Quillet\\Quillet.exe\\\" -line %l \\\"%f\\\"\" \"C:\\文書 表\\論文.pdf\""},
      {"\"D:\\表\\SumatraPDF.exe\"  -bg-color #ffffff ", "D:\\a.pdf", "D:\\表\\Quillet.exe",
       "\"D:\\表\\SumatraPDF.exe\" -bg-color #ffffff -reuse-instance -inverse-search "
       "\"\\\"D:\\表\\Quillet.exe\\\" -line %l \\\"%f\\\"\" \"D:\\a.pdf\""},
  };
  for (const auto& r : rows) EXPECT_EQ(SumatraStartCommandLine(r.viewer, r.pdf, r.quillet), r.line) << r.viewer;
}

}  // namespace
}  // namespace quillet
