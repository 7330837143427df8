#include "core/sjis.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// "表" is 0x95 0x5C and "ソ" is 0x83 0x5C: their trail byte is a backslash. "ポ" is
// 0x83 0x7C: its trail byte is a vertical bar.
TEST(SjisTest, LeadBytesAreTheTwoDoubleByteRanges) {
  struct Row { unsigned char byte; bool lead; } rows[] = {
      {0x41, false}, {0x5C, false}, {0x80, false}, {0x81, true}, {0x9F, true},
      {0xA0, false}, {0xB1, false}, {0xDF, false}, {0xE0, true}, {0xFC, true}, {0xFD, false},
  };
  for (auto r : rows) EXPECT_EQ(IsLeadByte(r.byte), r.lead) << std::hex << int(r.byte);
}

TEST(SjisTest, ChangeFileExtStepsOverDoubleByteCharacters) {
  struct Row { const char* name; const char* ext; const char* expected; } rows[] = {
      {"C:\\doc\\a.tex", ".bak", "C:\\doc\\a.bak"},
      {"C:\\doc\\notes", ".bak", "C:\\doc\\notes.bak"},
      {"C:\\x\\readme", ".$$$", "C:\\x\\readme.$$$"},
      {"C:\\my.dir\\paper", ".log", "C:\\my.dir\\paper.log"},          // dot only in a directory
      {"C:\\my.dir\\paper.tex", ".log", "C:\\my.dir\\paper.log"},
      {"a.b.c", ".d", "a.b.d"},                                        // the last dot counts
      {"C:\\表\\文書1.tex", ".$$$", "C:\\表\\文書1.$$$"},
      {"C:\\dir\\表", ".bak", "C:\\dir\\表.bak"},                       // trail 0x5C is no separator
      {"C:\\a.b\\ソ", ".tex", "C:\\a.b\\ソ.tex"},                       // so the dot before it is in a directory
      {"文書2.tex", ".$$$", "文書2.$$$"},
      {"d:file", ".log", "d:file.log"},
      {"d:.tex", ".log", "d:.log"},
      {"", ".tex", ".tex"},
  };
  for (auto r : rows) EXPECT_EQ(ChangeFileExt(r.name, r.ext), r.expected) << r.name;
}

TEST(SjisTest, ExtractFilePathEndsAtTheLastRealSeparator) {
  struct Row { const char* name; const char* dir; const char* file; } rows[] = {
      {"C:\\doc\\a.tex", "C:\\doc\\", "a.tex"},
      {"C:\\表", "C:\\", "表"},                                         // not "C:\\\x95\\"
      {"C:\\ソ\\x", "C:\\ソ\\", "x"},
      {"a.tex", "", "a.tex"},
      {"d:a.tex", "d:", "a.tex"},
      {"\\\\server\\share\\a.tex", "\\\\server\\share\\", "a.tex"},
      {"Z:\\work\\Quillet.exe", "Z:\\work\\", "Quillet.exe"},
  };
  for (auto r : rows) {
    EXPECT_EQ(ExtractFilePath(r.name), r.dir) << r.name;
    EXPECT_EQ(ExtractFileName(r.name), r.file) << r.name;
  }
}

TEST(SjisTest, GetFieldCountsFromOneAndIsEmptyPastTheEnd) {
  struct Row { const char* text; char sep; int n; const char* expected; } rows[] = {
      {"a,b,c", ',', 1, "a"}, {"a,b,c", ',', 3, "c"}, {"a,b,c", ',', 4, ""},
      {"a,,c", ',', 2, ""},   {"a,,c", ',', 3, "c"},  {"", ',', 1, ""},
      {"x;y;", ';', 2, "y"},  {"x;y;", ';', 3, ""},   {"abc", ',', 0, ""},
      {"日本,語", ',', 1, "日本"}, {"日本,語", ',', 2, "語"},
  };
  for (auto r : rows) EXPECT_EQ(GetField(r.text, r.sep, r.n), r.expected) << r.text << " #" << r.n;
}

TEST(SjisTest, CutToBytesNeverSplitsADoubleByteCharacter) {
  struct Row { const char* text; std::size_t n; const char* expected; } rows[] = {
      {"abcdef", 3, "abc"}, {"abc", 10, "abc"}, {"a文書", 2, "a"}, {"a文書", 3, "a文"},
      {"文書", 1, ""}, {"文書", 4, "文書"}, {"ｴﾗｰ", 2, "ｴﾗ"}, {"", 0, ""},
  };
  for (auto r : rows) EXPECT_EQ(CutToBytes(r.text, r.n), r.expected) << r.text << " " << r.n;
}

TEST(SjisTest, FileNamesCompareWithoutAsciiCaseOnly) {
  EXPECT_TRUE(SameFileName("C:\\Doc\\A.TEX", "c:\\doc\\a.tex"));
  EXPECT_FALSE(SameFileName("C:\\doc\\a.tex", "C:\\doc\\a.tex "));
  EXPECT_FALSE(SameFileName("ａ.tex", "Ａ.tex"));  // full-width letters are not folded
  EXPECT_TRUE(SameFileName("文書1.tex", "文書1.TEX"));
  // "ア" and "ヂ" differ only in a trail byte that looks like 'A' and 'a'.
  EXPECT_FALSE(SameFileName("\x83\x41.tex", "\x83\x61.tex"));
  EXPECT_TRUE(SameFileName("\x83\x41.TEX", "\x83\x41.tex"));
  EXPECT_TRUE(StartsWith("文書3.tex", "文書"));
  EXPECT_FALSE(StartsWith("C:\\文書3.tex", "文書"));
}

}  // namespace
}  // namespace quillet
