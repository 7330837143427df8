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

TEST(FileInsertTest, AFilesOwnCharactersTakeTheDocumentsCodesOrAreRefused) {
  // The file's 𠮷 (its code 0xF040) and ♥ (0xF041) go into a document that already gave
  // ♥ its code 0xF040; a Shift-JIS document cannot hold 𠮷 and gets nothing.
  ForeignChars file_chars;
  file_chars.CodeFor(U'\U00020BB7');
  file_chars.CodeFor(U'\u2665');
  std::string text = "表\xF0\x40\r\nx\xF0\x41";
  struct Row {
    Encoding into;
    bool ok;
    std::string out;
    std::size_t line, column;
  } rows[] = {
      {Encoding::kUtf8, true, "表\xF0\x41\r\nx\xF0\x40", 0, 0},
      {Encoding::kShiftJis, false, "", 1, 3},
      {Encoding::kEucJp, false, "", 1, 3},
  };
  for (const Row& row : rows) {
    ForeignChars doc_chars;
    doc_chars.CodeFor(U'\u2665');
    std::string out;
    Unholdable refused;
    EXPECT_EQ(IntoDocumentCodes(text, file_chars, row.into, doc_chars, out, refused), row.ok);
    if (row.ok) {
      EXPECT_EQ(out, row.out);
    } else {
      EXPECT_EQ(refused.ch, U'\U00020BB7');
      EXPECT_EQ(refused.line, row.line);
      EXPECT_EQ(refused.column, row.column);
    }
  }
}

}  // namespace
}  // namespace quillet
