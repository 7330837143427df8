#pragma once
// Characters pLaTeX cannot typeset: pTeX takes JIS X 0208 only, and drops or refuses the
// rest (half-width katakana, circled numbers, 髙, 𠮷, emoji ...), while upLaTeX takes
// them all. Found before a run, so the user hears of them before they are lost.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page_932.h"
#include "core/foreign_chars.h"
#include "core/text_encode.h"

namespace quillet {

// The first max such characters of the editor's text, with their places. Latin letters
// (below U+0370) are LaTeX's own business and comments TeX's, and neither is counted.
std::vector<Unholdable> CharactersPLaTeXDrops(std::string_view text, const ForeignChars& chars, std::size_t max);

// Whether a format (its name in wintex.ini, or its menu text) runs pLaTeX or pTeX.
bool IsPTeXFormat(std::string_view format_name);
bool IsUpLaTeXFormat(std::string_view format_name);

// What a document's class needs to run under upLaTeX, when it needs anything: the ASCII
// pLaTeX classes have upLaTeX twins (jarticle, ujarticle), and the js classes take the
// option "uplatex"; either stops upLaTeX at once otherwise. Empty when nothing is needed.
std::string UpLaTeXClassAdvice(std::string_view text);

// The warning before such a run; it offers upLaTeX when with_uplatex, with the advice for
// the document's class.
std::string PLaTeXDropsText(const std::vector<Unholdable>& found, const CodePage932& code_page, bool with_uplatex,
                            std::string_view class_advice);

}  // namespace quillet
