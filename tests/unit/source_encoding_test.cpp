// The code TeX Quillet reads an engine's log in.
#include "tex/source_encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quillet {
namespace {

// A log is mostly ASCII: its few Japanese characters often read in more than one code,
// and the source's code, in which the engine wrote it, decides when it is one of them.
TEST(SourceEncodingTest, TheLogIsReadInTheCodeOfItsSource) {
  using enum Encoding;
  const std::string euc_kanji = "l.9 \\foo \xB8\xAB\xBD\xD0\r\n";  // 見出, or four half-width katakana
  const std::string utf8 = reinterpret_cast<const char*>(u8"l.9 \\foo 九行目の日本語\r\n");
  const std::string jis = "l.9 \\foo \x1b$B8+=P$7\x1b(B\r\n";
  const std::string sjis_message = "! ﾌｫｰﾏｯﾄ 'x' に使うTeXのｺﾏﾝﾄﾞがわかりません。\r\n";
  struct Row { const char* what; std::string log; std::optional<Encoding> source; Encoding expected; } rows[] = {
      {"EUC-JP source", euc_kanji, kEucJp, kEucJp},
      {"no source code known", euc_kanji, std::nullopt, kShiftJis},
      {"Shift-JIS source", euc_kanji, kShiftJis, kShiftJis},
      {"UTF-8", utf8, kUtf8, kUtf8},
      {"UTF-8 from an ASCII source", utf8, std::nullopt, kUtf8},
      {"ISO-2022-JP", jis, kIso2022Jp, kIso2022Jp},
      {"Shift-JIS message for a UTF-8 source", sjis_message, kUtf8, kShiftJis},
      {"Shift-JIS message for an ISO-2022-JP source", sjis_message, kIso2022Jp, kShiftJis},
      {"ASCII", "This is e-pTeX\r\n", kUtf8, kUtf8},
  };
  for (const auto& r : rows) EXPECT_EQ(LogEncoding(r.log, r.source), r.expected) << r.what;
}

}  // namespace
}  // namespace quillet
