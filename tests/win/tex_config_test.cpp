// wintex.ini through the platform's profile functions and the TeX directories through the
// file system: what another program wrote is read, what the writers write is on disk.
#include "tex/tex_config_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/win/support/test_support.h"

namespace quillet::test {
namespace {

using Strings = std::vector<std::string>;

void MakeTree(const TempDir& root, const Strings& dirs, const Strings& files) {
  for (const auto& d : dirs) ASSERT_TRUE(CreateDirectoryA((root / d).c_str(), nullptr)) << d;
  for (const auto& f : files) WriteFileBytes(root / f, "x");
}

TEST(TeXConfigWinTest, ReadsWhatTheEngineWrote) {
  TempDir root;
  MakeTree(root, {"fonts", "fonts2", "fonts2\\dir.tfm", "fmt", "inputs", "表"},
           {"fonts\\cmr10.tfm", "fonts\\CMBX10.TFM", "fonts\\readme.txt", "fonts2\\cmr10.tfm", "fmt\\lplain.fmt",
            "fmt\\PLAIN.FMT", "inputs\\jarticle.sty", "inputs\\doc.tex", "表\\ｽﾀｲﾙ.sty", "表\\章.tex"});
  const std::string r = root.path();
  std::string file =
      "[Environ]\r\n"
      "TEXINPUTS=" + r + "inputs;" + r + "表;" + r + "missing\r\n"
      "texfonts=" + r + "fonts\\;" + r + "fonts2;;" + r + "fmt\r\n"
      "TEXFORMATS=" + r + "fmt\r\n"
      "TEXPOOL=c:\\tex\\pool\r\n"
      "\r\n"
      "[texmode]\r\n"
      "LaTeX 2ε=lplain\r\n"
      "ﾌﾟﾚｰﾝ TeX=plain\r\n"
      "日本語 LaTeX=jlplain\r\n"
      "[TeXModeDefault]\r\n"
      "TeXModeDefault=0x2\r\n"
      "[Style]\r\n"
      "Style=jarticle,表,jbook\r\n"
      "[JARTICLE]\r\n"
      "sizeoption=10pt,11pt\r\n"
      "ptsizeoption=a4j\r\n"
      "styleoption=twocolumn\r\n"
      "[表]\r\n"
      "styleoption=縦書き\r\n"
      "[jbook]\r\n"
      "sizeoption=12pt\r\n"
      "ptsizeoption=b5j\r\n"
      "[Font]\r\n"
      "cmr10=ＭＳ 明朝\r\n"
      "cmbx10=\r\n";
  WriteFileBytes(root / "wintex.ini", file);

  WinProfileStore store(root / "wintex.ini");
  TeXConfiguration c = LoadTeXConfiguration(store, WinDirectoryLister());
  {
    // Start-up reads through a pass of whole sections: it must read the same.
    WinProfileStore::Pass pass(store);
    TeXConfiguration passed = LoadTeXConfiguration(store, WinDirectoryLister());
    for (auto field : {&TeXConfiguration::menu_strings, &TeXConfiguration::format_names,
                       &TeXConfiguration::style_names, &TeXConfiguration::size_options,
                       &TeXConfiguration::ptsize_options, &TeXConfiguration::style_options,
                       &TeXConfiguration::tfm_files, &TeXConfiguration::fmt_files}) {
      EXPECT_EQ(passed.*field, c.*field);
    }
    EXPECT_EQ((Strings{passed.TEXINPUTS, passed.TEXFONTS, passed.TEXFORMATS, passed.TEXPOOL}),
              (Strings{c.TEXINPUTS, c.TEXFONTS, c.TEXFORMATS, c.TEXPOOL}));
    EXPECT_EQ(passed.stored_default, c.stored_default);
  }
  EXPECT_EQ(c.TEXINPUTS, r + "inputs;" + r + "表;" + r + "missing");
  EXPECT_EQ(c.TEXFONTS, r + "fonts\\;" + r + "fonts2;;" + r + "fmt");
  EXPECT_EQ(c.TEXFORMATS, r + "fmt");
  EXPECT_EQ(c.TEXPOOL, "c:\\tex\\pool");
  EXPECT_EQ(c.menu_strings, (Strings{"LaTeX 2ε", "ﾌﾟﾚｰﾝ TeX", "日本語 LaTeX"}));
  EXPECT_EQ(c.format_names, (Strings{"lplain", "plain", "jlplain"}));
  EXPECT_EQ(c.stored_default, 2);
  EXPECT_EQ(c.style_names, (Strings{"jarticle", "表", "jbook"}));
  EXPECT_EQ(c.size_options, (Strings{"10pt,11pt", "", "12pt"}));
  EXPECT_EQ(c.ptsize_options, (Strings{"a4j", "", "b5j"}));
  EXPECT_EQ(c.style_options, (Strings{"twocolumn", "縦書き", ""}));
  // The fmt directory after the empty element of TEXFONTS is not searched for TFM files;
  // a directory named like a TFM file is listed.
  EXPECT_EQ(c.tfm_files, (Strings{"CMBX10.TFM", "cmr10.tfm", "cmr10.tfm", "dir.tfm"}));
  EXPECT_EQ(c.fmt_files, (Strings{"lplain.fmt", "PLAIN.FMT"}));
  EXPECT_EQ(c.sty_files, (Strings{"jarticle.sty", "ｽﾀｲﾙ.sty"}));
  EXPECT_EQ(c.tex_files, (Strings{"doc.tex", "章.tex"}));
  EXPECT_EQ(ReadFontMapping(store, "CMR10.TFM"), "ＭＳ 明朝");
  EXPECT_EQ(ReadFontMapping(store, "cmbx10.tfm"), kNoSubstitute);
  EXPECT_EQ(ReadFontMapping(store, "jis.tfm"), kNoSubstitute);
}

TEST(TeXConfigWinTest, WritersLeaveTheseBytesOnDisk) {
  TempDir root;
  WriteFileBytes(root / "wintex.ini",
                 "[Environ]\r\nTEXINPUTS=c:\\old\r\n"
                 "[TeXMode]\r\nold=oldfmt\r\nLaTeX=lplain\r\n"
                 "[Style]\r\nStyle=jarticle,jbook\r\n"
                 "[jarticle]\r\nsizeoption=10pt\r\n"
                 "[jbook]\r\nstyleoption=twoside\r\n"
                 "[WpvTeX]\r\nsize=big\r\n");
  WinProfileStore store(root / "wintex.ini");
  TeXConfiguration c;
  EXPECT_EQ(WriteEnviron(store, c, "c:\\in", "c:\\fonts", "", "c:\\pool"), WriteOutcome::Ok);
  EXPECT_EQ(WriteTeXMenu(store, c, {"ﾌﾟﾚｰﾝ TeX", "LaTeX 2ε"}, {"plain", "lplain"}), WriteOutcome::Ok);
  EXPECT_EQ(WriteFontMapping(store, "CMR10.TFM", kNoSubstitute), WriteOutcome::Ok);
  EXPECT_EQ(WriteFontMapping(store, "Min10.tfm", "ＭＳ 明朝"), WriteOutcome::Ok);
  EXPECT_EQ(WriteStyles(store, c, {"jreport"}, {"11pt"}, {""}, {"縦書き"}), WriteOutcome::Ok);
  EXPECT_EQ(SaveTeXModeDefault(store, -1), WriteOutcome::Ok);
  EXPECT_EQ(ReadFileBytes(root / "wintex.ini"),
            "[Environ]\r\nTEXINPUTS=c:\\in\r\nTEXFONTS=c:\\fonts\r\nTEXFORMATS=\r\nTEXPOOL=c:\\pool\r\n"
            "[Style]\r\nStyle=jreport\r\n"
            "[WpvTeX]\r\nsize=big\r\n"
            "[TeXMode]\r\nﾌﾟﾚｰﾝ TeX=plain\r\nLaTeX 2ε=lplain\r\n"
            "[Font]\r\ncmr10=\r\nmin10=ＭＳ 明朝\r\n"
            "[jreport]\r\nsizeoption=11pt\r\nptsizeoption=\r\nstyleoption=縦書き\r\n"
            "[TeXModeDefault]\r\nTeXModeDefault=-1\r\n");

  EXPECT_EQ(WriteStyles(store, c, {}, {}, {}, {}), WriteOutcome::Ok);
  EXPECT_EQ(WriteTeXMenu(store, c, {}, {}), WriteOutcome::Ok);
  std::string after = ReadFileBytes(root / "wintex.ini");
  EXPECT_EQ(after.find("[jreport]"), std::string::npos) << after;
  EXPECT_EQ(after.find("[TeXMode]"), std::string::npos) << after;
  EXPECT_NE(after.find("[Style]\r\nStyle=\r\n"), std::string::npos) << after;
  TeXConfiguration reread = LoadTeXConfiguration(store, WinDirectoryLister());
  EXPECT_TRUE(reread.menu_strings.empty());
  EXPECT_TRUE(reread.style_names.empty());
  EXPECT_EQ(reread.stored_default, -1);
}

TEST(TeXConfigWinTest, WhatAnotherProgramWroteAndTheWritersDoNotOwnKeepsItsBytes) {
  TempDir root;
  WriteFileBytes(root / "wintex.ini",
                 "; written by hand\r\n[environ]\r\n  TEXINPUTS = c:\\old\r\nEXTRA=keep me\r\n\r\n"
                 "[Viewer]\r\n;comment=1\r\nzoom=2\r\n");
  WinProfileStore store(root / "wintex.ini");
  TeXConfiguration c;
  EXPECT_EQ(WriteEnviron(store, c, "c:\\in", "", "", ""), WriteOutcome::Ok);
  EXPECT_EQ(ReadFileBytes(root / "wintex.ini"),
            "; written by hand\r\n[environ]\r\nTEXINPUTS=c:\\in\r\nEXTRA=keep me\r\n"
            "TEXFONTS=\r\nTEXFORMATS=\r\nTEXPOOL=\r\n\r\n"
            "[Viewer]\r\n;comment=1\r\nzoom=2\r\n");
}

TEST(TeXConfigWinTest, AReadOnlyFileIsRefusedAndKeptWhole) {
  TempDir root;
  const std::string file = "[Environ]\r\nTEXINPUTS=c:\\old\r\n[TeXMode]\r\nLaTeX=lplain\r\n";
  WriteFileBytes(root / "wintex.ini", file);
  ASSERT_TRUE(SetFileAttributesA((root / "wintex.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  WinProfileStore store(root / "wintex.ini");
  TeXConfiguration c;
  EXPECT_EQ(WriteEnviron(store, c, "c:\\in", "", "", ""), WriteOutcome::Refused);
  EXPECT_EQ(WriteTeXMenu(store, c, {}, {}), WriteOutcome::Refused);
  EXPECT_EQ(ReadFileBytes(root / "wintex.ini"), file);
  SetFileAttributesA((root / "wintex.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(TeXConfigWinTest, ReservedStyleNamesLeaveTheFileAlone) {
  TempDir root;
  const std::string file = "[Font]\r\ncmr10=Times\r\n[Style]\r\nStyle=jarticle\r\n[jarticle]\r\nsizeoption=10pt\r\n";
  WriteFileBytes(root / "wintex.ini", file);
  WinProfileStore store(root / "wintex.ini");
  TeXConfiguration c;
  EXPECT_EQ(WriteStyles(store, c, {"jbook", "FONT"}, {"", ""}, {"", ""}, {"", ""}), WriteOutcome::ReservedStyleName);
  EXPECT_EQ(ReadFileBytes(root / "wintex.ini"), file);
}

TEST(TeXConfigWinTest, EveryWriterAnswersRefusedWhereTheFileIsADirectory) {
  TempDir root;
  ASSERT_TRUE(CreateDirectoryA((root / "wintex.ini").c_str(), nullptr));
  WinProfileStore store(root / "wintex.ini");
  TeXConfiguration c;
  c.menu_strings = {"LaTeX"};
  c.style_names = {"jarticle"};
  struct Row { const char* writer; WriteOutcome outcome; } rows[] = {
      {"environ", WriteEnviron(store, c, "a", "b", "c", "d")},
      {"menu", WriteTeXMenu(store, c, {"plain"}, {"plain"})},
      {"font", WriteFontMapping(store, "cmr10.tfm", "Times")},
      {"styles", WriteStyles(store, c, {"jbook"}, {""}, {""}, {""})},
      {"default", SaveTeXModeDefault(store, 0)},
  };
  for (const auto& row : rows) EXPECT_EQ(row.outcome, WriteOutcome::Refused) << row.writer;
  EXPECT_EQ(c.menu_strings, Strings{"LaTeX"});
  EXPECT_EQ(c.style_names, Strings{"jarticle"});
  EXPECT_EQ(c.TEXINPUTS, "a");
  TeXConfiguration read = LoadTeXConfiguration(store, WinDirectoryLister());
  EXPECT_TRUE(read.menu_strings.empty());
  EXPECT_EQ(read.TEXINPUTS, "");
}

TEST(TeXConfigWinTest, LongValuesAndLongKeyListsAreCutAsThePlatformReadsThem) {
  TempDir root;
  std::string file = "[Environ]\r\nTEXPOOL=" + std::string(1500, 'p') + "\r\nTEXINPUTS=";
  for (int i = 0; i < 600; ++i) file += "表";
  file += "\r\n[TeXMode]\r\n";
  for (int i = 0; i < 800; ++i) {
    char line[32];
    wsprintfA(line, "key%07d=f%d\r\n", i, i);
    file += line;
  }
  WriteFileBytes(root / "wintex.ini", file);
  WinProfileStore store(root / "wintex.ini");
  TeXConfiguration c = LoadTeXConfiguration(store, WinDirectoryLister());
  EXPECT_EQ(c.TEXPOOL, std::string(1023, 'p'));
  EXPECT_EQ(c.TEXINPUTS.size(), 1022u);  // no half character at the end
  ASSERT_EQ(c.menu_strings.size(), 745u);
  EXPECT_EQ(c.menu_strings[743], "key0000743");
  EXPECT_EQ(c.format_names[743], "f743");
  EXPECT_EQ(c.menu_strings[744], "key000");
  EXPECT_EQ(c.format_names[744], "");
}

TEST(TeXConfigWinTest, ABareNameLivesInTheWindowsDirectory) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string path = std::string(windows) + "\\" + kTeXConfigFile;
  const bool existed = FileExists(path);
  const std::string kept = ReadFileBytes(path);
  WinProfileStore store(kTeXConfigFile);
  EXPECT_EQ(SaveTeXModeDefault(store, 3), WriteOutcome::Ok);
  EXPECT_NE(ReadFileBytes(path).find("[TeXModeDefault]\r\nTeXModeDefault=3\r\n"), std::string::npos);
  if (existed) {
    WriteFileBytes(path, kept);
  } else {
    DeleteFileA(path.c_str());
  }
}

TEST(TeXConfigWinTest, DisplayFontsStartWithNoSubstituteThenTheScreenFonts) {
  Strings fonts = DisplayFontList();
  ASSERT_GT(fonts.size(), 1u);
  EXPECT_EQ(fonts.front(), kNoSubstitute);
  EXPECT_TRUE(std::is_sorted(fonts.begin() + 1, fonts.end()));
  EXPECT_EQ(std::adjacent_find(fonts.begin() + 1, fonts.end()), fonts.end());
  EXPECT_NE(std::find(fonts.begin(), fonts.end(), "ＭＳ ゴシック"), fonts.end());
  EXPECT_NE(std::find(fonts.begin(), fonts.end(), "@ＭＳ 明朝"), fonts.end());  // vertical faces for vertical TFMs
}

}  // namespace
}  // namespace quillet::test
