// Command lines of the bridges and stand-ins: words, quotes and option values; the line
// request of a viewer's inverse search.
#include "core/command_line.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(CommandLineTest, WordsAndOptionValues) {
  EXPECT_EQ(SplitCommandLine("tex.exe  --wintex \"C:\\my dir\\表\" \"\"\t--x"),
            (std::vector<std::string>{"tex.exe", "--wintex", "C:\\my dir\\表", "", "--x"}));
  struct Row { const char* line; unsigned number; } rows[] = {
      {"p --delay 250", 250},          {"p --delay 00000000000250", 250},  {"p --delay 4294967295", 4294967295u},
      {"p --delay 4294967296", 0},     {"p --delay 8589934590", 0},        {"p --delay 25x", 0},
      {"p --delay", 0},                {"p --delay -1", 0},
  };
  for (auto r : rows) EXPECT_EQ(CommandOptions(r.line).Number("--delay"), r.number) << r.line;
  CommandOptions options("p --record a --hold --record b");
  EXPECT_EQ(options.Value("--record"), "a");  // the first one counts
  EXPECT_EQ(options.Value("--hold"), "--record");
  EXPECT_FALSE(options.Flag("p"));  // the program's own name is no option
}

TEST(CommandLineTest, LineRequests) {
  struct Row { const char* line; std::optional<LineRequest> request; } rows[] = {
      {"Quillet.exe -line 12 \"C:\\和文 報告\\表\"", LineRequest{12, "C:\\和文 報告\\表"}},
      {"\"C:\\Program Files\\Quillet.exe\" -line 007 /home/u/doc/a.tex", LineRequest{7, "/home/u/doc/a.tex"}},
      {"Quillet.exe -line 3 C:\\my  dir\\a.tex", LineRequest{3, "C:\\my dir\\a.tex"}},  // unquoted blanks
      {"Quillet.exe -line 2147483647 a.tex", LineRequest{2147483647, "a.tex"}},
      {"Quillet.exe -line 2147483648 a.tex", std::nullopt},
      {"Quillet.exe -line 0 a.tex", std::nullopt},
      {"Quillet.exe -line -4 a.tex", std::nullopt},
      {"Quillet.exe -line 12x a.tex", std::nullopt},
      {"Quillet.exe -line 12", std::nullopt},
      {"Quillet.exe -line 12 \"\"", std::nullopt},
      {"Quillet.exe a.tex -line 12 b.tex", std::nullopt},  // a file to open, as before
      {"Quillet.exe -LINE 12 a.tex", std::nullopt},
  };
  for (const Row& r : rows) EXPECT_EQ(ParseLineRequest(SplitCommandLine(r.line)), r.request) << r.line;
  EXPECT_TRUE(IsUnixFileName("/home/u/a.tex"));
  EXPECT_FALSE(IsUnixFileName("C:\\a.tex"));
  EXPECT_FALSE(IsUnixFileName("a.tex"));
}

}  // namespace
}  // namespace quillet
