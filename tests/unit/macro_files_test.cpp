// Fixed-macro files: the folder, the header test, the title and the body.
#include "aids/macro_files.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(MacroFilesTest, FoldersEndInOneBackslash) {
  struct Row { const char* setting; const char* folder; } rows[] = {
      {"C:\\macro", "C:\\macro\\"}, {"C:\\macro\\", "C:\\macro\\"}, {"", "\\"},
      {"C:\\マクロ表", "C:\\マクロ表\\"},  // "表" ends in the byte 0x5C
  };
  for (auto r : rows) EXPECT_EQ(MacroFolder(r.setting), r.folder) << r.setting;
}

TEST(MacroFilesTest, TheHeaderTitleAndBodyAreReadAsLines) {
  EXPECT_TRUE(IsMacroFile("%% TeX Quillet Macro 1.0"));
  EXPECT_TRUE(IsMacroFile("%% TeX Quillet Macro 1.0 (my own remark)"));
  EXPECT_FALSE(IsMacroFile("%% TeX Quillet Macro"));
  EXPECT_FALSE(IsMacroFile("\\documentclass{jarticle}"));
  struct Row { const char* text; const char* title; const char* body; } rows[] = {
      {"%% TeX Quillet Macro 1.0\r\n%箇条書き\r\n\\begin{itemize}\r\n\\item\r\n\\end{itemize}\r\n", "箇条書き",
       "\\begin{itemize}\r\n\\item\r\n\\end{itemize}\r\n"},
      {"%% TeX Quillet Macro 1.0\n\\section{}\nbody\n\n% comment", "(タイトルなし)", "body\r\n\r\n% comment\r\n"},
      {"%% TeX Quillet Macro 1.0\r\n", "(タイトルなし)", ""},
      {"%% TeX Quillet Macro 1.0\r%\ra\rb", "", "a\r\nb\r\n"},
  };
  for (auto r : rows) {
    Macro m = ParseMacro(r.text);
    EXPECT_EQ(m.title, r.title) << r.text;
    EXPECT_EQ(m.body, r.body) << r.text;
  }
  // A huge file is taken up to its last whole line within the limit.
  std::string huge = "%% TeX Quillet Macro 1.0\r\n%t\r\n";
  while (huge.size() < kMacroLimit + 100) huge += "表のある行\r\n";
  Macro m = ParseMacro(huge);
  EXPECT_LE(m.body.size(), kMacroLimit);
  EXPECT_TRUE(m.body.ends_with("表のある行\r\n"));
}

}  // namespace
}  // namespace quillet
