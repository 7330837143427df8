// quillet-tex --classes: under Wine the bridge asks TeX Live's kpsewhich, a Linux program,
// and writes the list of the wizard's files it found.
#include <windows.h>

#include <gtest/gtest.h>

#include "aids/document_classes.h"
#include "bridges/class_list_win.h"
#include "tests/win/support/test_support.h"

namespace quillet::test {
namespace {

TEST(ClassListTest, TheBridgeListsTheFilesKpsewhichFinds) {
  if (!FileExists("Z:\\usr\\bin\\kpsewhich") || !FileExists("Z:\\usr\\bin\\platex")) {
    GTEST_SKIP() << "TeX Live's pLaTeX is not installed";
  }
  TempDir dir;
  std::string list = dir / "classes.txt";
  DWORD start = GetTickCount();
  ASSERT_EQ(WriteClassList(list), 0);
  std::cout << "the list took " << GetTickCount() - start << " ms\n";
  std::set<std::string> found = ParseClassList(ReadFileBytes(list));
  std::vector<std::string> asked = FilesToFind();
  for (const char* file : {"article.cls", "jarticle.cls", "ujarticle.cls", "jsarticle.cls"}) {
    EXPECT_TRUE(found.contains(file)) << file;
  }
  for (const std::string& file : found) EXPECT_NE(std::find(asked.begin(), asked.end(), file), asked.end()) << file;
  // The script, its answer and its status are gone.
  for (const char* aside : {".sh", ".found", ".done"}) EXPECT_FALSE(FileExists(list + aside)) << aside;
}

}  // namespace
}  // namespace quillet::test
