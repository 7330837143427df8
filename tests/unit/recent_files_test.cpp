#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillet {
namespace {

std::vector<std::string> Shown(const RecentFiles& r) {
  std::vector<std::string> out;
  for (int n = 1; n <= RecentFiles::kShown; ++n) out.push_back(r.entry(n));
  return out;
}

using List = std::vector<std::string>;

TEST(RecentFilesTest, PushesKeepTheFourMostRecentWithoutDuplicates) {
  struct Row { const char* what; List opened; List expected; } rows[] = {
      {"five files push the first out", {"A", "B", "C", "D", "E"}, {"E", "D", "C", "B"}},
      {"re-opening B brings back the pushed-out A", {"A", "B", "C", "D", "B"}, {"B", "D", "C", "A"}},
      {"opening twice in a row keeps one entry", {"A", "B", "B"}, {"B", "A", "", ""}},
      {"case differences are the same file, shown as newly written",
       {"C:\\doc\\a.tex", "C:\\x.tex", "c:\\DOC\\A.TEX"}, {"c:\\DOC\\A.TEX", "C:\\x.tex", "", ""}},
      {"the oldest entry re-opened", {"A", "B", "C", "D", "A"}, {"A", "D", "C", "B"}},
  };
  for (const auto& row : rows) {
    RecentFiles r;
    for (const auto& name : row.opened) r.Push(name);
    EXPECT_EQ(Shown(r), row.expected) << row.what;
  }
}

TEST(RecentFilesTest, StartUpLoadPlacesTheFourStoredEntries) {
  struct Row { const char* what; std::array<std::string, 4> stored; List expected; } rows[] = {
      {"all four", {"A", "B", "C", "D"}, {"A", "B", "C", "D"}},
      {"only File3 set: it is the second item", {"", "", "C", ""}, {"", "C", "", ""}},
      {"none", {"", "", "", ""}, {"", "", "", ""}},
      {"File1 repeated later", {"A", "B", "a", "D"}, {"A", "B", "D", ""}},
  };
  for (const auto& row : rows) {
    RecentFiles r;
    r.Load(row.stored);
    EXPECT_EQ(Shown(r), row.expected) << row.what;
  }
}

TEST(RecentFilesTest, CaptionsCarryTheirAccessKey) {
  RecentFiles r;
  r.Push("C:\\doc\\a.tex");
  EXPECT_EQ(r.Caption(1), "&1 C:\\doc\\a.tex");
  EXPECT_EQ(r.Caption(2), "&2 ");
  EXPECT_TRUE(r.AnyShown());
  EXPECT_FALSE(RecentFiles().AnyShown());
}

}  // namespace
}  // namespace quillet
