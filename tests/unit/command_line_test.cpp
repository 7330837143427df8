// Command lines of the bridges and stand-ins: words, quotes and option values.
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

}  // namespace
}  // namespace quillet
