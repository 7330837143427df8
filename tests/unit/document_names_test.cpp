#include "document/document_names.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(DocumentNamesTest, AutoSaveCopiesLiveBesideTheDocumentOrInTheTemporaryDirectory) {
  const char* temp = "C:\\TEMP\\";
  struct Row { const char* caption; const char* expected; } rows[] = {
      {"C:\\doc\\a.tex", "C:\\doc\\a.$$$"},
      {"C:\\x\\readme", "C:\\x\\readme.$$$"},
      {"文書1.tex", "C:\\TEMP\\文書1.$$$"},
      {"文書2.tex", "C:\\TEMP\\文書2.$$$"},
      {"\\\\server\\share\\a.tex", "\\\\server\\share\\a.$$$"},  // UNC paths are absolute too
      {"relative\\b.tex", "C:\\TEMP\\relative\\b.$$$"},
      {"C:\\表\\ソ", "C:\\表\\ソ.$$$"},
      {"C:\\my.dir\\notes", "C:\\my.dir\\notes.$$$"},
      {"C:\\doc\\notes.$$$", "C:\\doc\\notes.$$$.$$$"},  // never the document itself
  };
  for (auto r : rows) EXPECT_EQ(AutoSaveNameFor(r.caption, temp), r.expected) << r.caption;
}

TEST(DocumentNamesTest, UntitledCaptionsAreRecognisedByTheirFirstBytes) {
  EXPECT_EQ(UntitledCaption(1), "文書1.tex");
  EXPECT_EQ(UntitledCaption(12), "文書12.tex");
  EXPECT_TRUE(IsUntitledCaption("文書1.tex"));
  EXPECT_TRUE(IsUntitledCaption("文書"));
  EXPECT_FALSE(IsUntitledCaption("C:\\文書1.tex"));
  EXPECT_FALSE(IsUntitledCaption("文"));
  EXPECT_EQ(BackupNameFor("C:\\doc\\notes"), "C:\\doc\\notes.bak");
  EXPECT_EQ(BackupNameFor("C:\\doc\\a.tex"), "C:\\doc\\a.bak");
}

}  // namespace
}  // namespace quillet
