#include "document/file_insert.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(FileInsertTest, EveryLineEndsInCrLfAndAnEmptyLineFollows) {
  struct Row { const char* what; std::string file; std::string text; std::size_t block; } rows[] = {
      {"two CR LF lines", "a\r\nb\r\n", "a\r\nb\r\n\r\n", 6},
      {"no break at the end", "a\r\nb", "a\r\nb\r\n\r\n", 6},
      {"LF breaks", "a\nb\n", "a\r\nb\r\n\r\n", 6},
      {"CR breaks", "a\rb\r", "a\r\nb\r\n\r\n", 6},
      {"mixed, with an empty line", "a\r\rb\n\nc", "a\r\n\r\nb\r\n\r\nc\r\n\r\n", 13},
      {"LF CR is two breaks", "a\n\rb", "a\r\n\r\nb\r\n\r\n", 8},
      {"an empty file adds only the empty line", "", "\r\n", 0},
      {"one empty line", "\r\n", "\r\n\r\n", 2},
      {"double-byte text", "表示\r\nソース", "表示\r\nソース\r\n\r\n", 14},
  };
  for (const auto& r : rows) {
    InsertionText t = TextForInsertion(r.file);
    EXPECT_EQ(t.text, r.text) << r.what;
    EXPECT_EQ(t.block_size, r.block) << r.what;
  }
}

}  // namespace
}  // namespace quillet
