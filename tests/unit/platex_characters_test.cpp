#include "tex/platex_characters.h"

#include <gtest/gtest.h>

#include "tests/unit/iconv_code_page.h"

namespace quillet {
namespace {

TEST(PLaTeXCharactersTest, WhatPLaTeXDropsIsFoundWithItsPlace) {
  // 𠮷 and ♥ are the document's own characters 0xF040 and 0xF041; the WAVE DASH 0xF042
  // is JIS X 0208 to pTeX, é 0xF043 is LaTeX's business.
  ForeignChars chars;
  for (char32_t c : {U'\U00020BB7', U'\u2665', U'\u301C', U'\u00E9'}) chars.CodeFor(c);
  struct Row {
    const char* what;
    std::string text;
    std::vector<std::pair<std::size_t, std::size_t>> places;  // line, column
  } rows[] = {
      {"JIS X 0208 and ASCII only", "\\section{表示とソース}\r\n漢字かなカナ～∥", {}},
      {"circled number, 髙, ⅰ and half-width katakana", "①a\r\n髙ⅰﾃ", {{1, 1}, {2, 1}, {2, 3}, {2, 5}}},
      {"the document's own characters", "x\xF0\x40\xF0\x41\xF0\x42\xF0\x43", {{1, 2}, {1, 4}}},
      {"comments, but not an escaped % or one after a 0x5C trail byte",
       "% ﾌﾟﾚﾋﾞｭｰ①\r\n\\%①\\\\% ①\r\n表%①", {{2, 3}}},
  };
  for (const Row& row : rows) {
    std::vector<Unholdable> found = CharactersPLaTeXDrops(row.text, chars, 10);
    std::vector<std::pair<std::size_t, std::size_t>> places;
    for (const Unholdable& u : found) places.emplace_back(u.line, u.column);
    EXPECT_EQ(places, row.places) << row.what;
  }
  EXPECT_EQ(CharactersPLaTeXDrops("①②③④", chars, 3).size(), 3u);
  EXPECT_EQ(PLaTeXDropsText(CharactersPLaTeXDrops("a\xF0\x40①", chars, 3), IconvCodePage(), true, ""),
            "この文書には pLaTeX が組めない文字 (JIS X 0208 にない文字) があります:\r"
            "  1 行 2 桁目の文字 U+20BB7\r  1 行 4 桁目の文字「①」(U+2460)\r"
            "pLaTeX はこれらの文字を落とすか、ｴﾗｰにします。\r"
            "upLaTeX に切り替えて組版しますか?\r(「いいえ」ならこのまま pLaTeX で組版します)");
}

TEST(PLaTeXCharactersTest, AClassThatStopsUpLaTeXIsToldWhatItNeeds) {
  // Tried with the real uplatex: jarticle stops at its JY1 encoding, jsarticle asks for
  // its uplatex option; ujarticle, jsarticle with the option and other classes run.
  struct Row {
    const char* text;
    const char* advice;
  } rows[] = {
      {"\\documentclass{jarticle}", "upLaTeX では jarticle の代わりに ujarticle を使います (\\documentclass{ujarticle})。"},
      {"\\documentclass[a4paper]{jsarticle}",
       "upLaTeX では jsarticle に uplatex ｵﾌﾟｼｮﾝが要ります (\\documentclass[uplatex]{jsarticle})。"},
      {"\\documentclass[uplatex,a4paper]{jsbook}", ""},
      {"\\documentclass{ujarticle}", ""},
      {"\\documentclass{article}", ""},
      {"no class", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(UpLaTeXClassAdvice(row.text), row.advice) << row.text;
  EXPECT_NE(PLaTeXDropsText({}, IconvCodePage(), true, "X").find("\rX\rupLaTeX に切り替えて"), std::string::npos);
}

TEST(PLaTeXCharactersTest, FormatsAreKnownByTheirNames) {
  for (const char* name : {"platex", "pLaTeX", "platex-dev", "ptex", "eptex"}) EXPECT_TRUE(IsPTeXFormat(name)) << name;
  for (const char* name : {"uplatex", "upLaTeX", "latex", "tex", "lualatex"}) EXPECT_FALSE(IsPTeXFormat(name)) << name;
  EXPECT_TRUE(IsUpLaTeXFormat("upLaTeX"));
  EXPECT_FALSE(IsUpLaTeXFormat("uptex"));
}

}  // namespace
}  // namespace quillet
