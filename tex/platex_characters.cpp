#include "tex/platex_characters.h"

#include "core/jis_codes.h"
#include "core/sjis.h"

namespace quillet {

namespace {

// Unicode characters of JIS X 0208 that code page 932 maps elsewhere: pTeX reads them as
// JIS, though the editor keeps them as a document's own characters.
bool JisOnlyCharacter(char32_t c) {
  return c == 0x301C || c == 0x2016 || c == 0x2212 || c == 0x00A2 || c == 0x00A3 || c == 0x00AC || c == 0x2014;
}

bool DroppedByPLaTeX(std::uint16_t code, char32_t foreign) {
  if (foreign != 0) return !IsKeptByte(foreign) && foreign >= 0x370 && !JisOnlyCharacter(foreign);
  return !IsJisX0208Code(code) && code != '\r' && code != '\n';
}

bool StartsWithIgnoringCase(std::string_view name, std::string_view prefix) {
  return name.size() >= prefix.size() && SameIgnoringAsciiCase(name.substr(0, prefix.size()), prefix);
}

}  // namespace

std::vector<Unholdable> CharactersPLaTeXDrops(std::string_view text, const ForeignChars& chars, std::size_t max) {
  std::vector<Unholdable> found;
  // TeX skips a comment without reading its characters: what stands after a "%" that no
  // backslash escapes is no concern.
  bool in_comment = false, escaped = false;
  for (TextWalker walk(text); !walk.done() && found.size() < max; walk.Next()) {
    if (walk.AtBreak()) {
      in_comment = escaped = false;
      continue;
    }
    std::uint16_t code = walk.Code();
    if (in_comment) continue;
    if (code == '%' && !escaped) in_comment = true;
    escaped = code == '\\' && !escaped;
    if (code < 0x80) continue;
    char32_t foreign = code >= 0xF000 ? chars.CharOf(code) : 0;
    if (DroppedByPLaTeX(code, foreign)) found.push_back(walk.Here(code, foreign));
  }
  return found;
}

bool IsPTeXFormat(std::string_view format_name) {
  return StartsWithIgnoringCase(format_name, "platex") || StartsWithIgnoringCase(format_name, "ptex") ||
         StartsWithIgnoringCase(format_name, "eptex");
}

bool IsUpLaTeXFormat(std::string_view format_name) { return StartsWithIgnoringCase(format_name, "uplatex"); }

std::string UpLaTeXClassAdvice(std::string_view text) {
  std::size_t at = text.find("\\documentclass");
  if (at == std::string_view::npos) return {};
  std::size_t open = text.find('{', at), close = text.find('}', open);
  if (close == std::string_view::npos) return {};
  std::string_view options = text.substr(at, open - at), name = text.substr(open + 1, close - open - 1);
  static constexpr std::string_view kTwins[][2] = {{"jarticle", "ujarticle"}, {"jreport", "ujreport"},
                                                   {"jbook", "ujbook"},       {"tarticle", "utarticle"},
                                                   {"treport", "utreport"},   {"tbook", "utbook"}};
  for (const auto& twin : kTwins) {
    if (name == twin[0]) {
      return "upLaTeX では " + std::string(twin[0]) + " の代わりに " + std::string(twin[1]) +
             " を使います (\\documentclass{" + std::string(twin[1]) + "})。";
    }
  }
  bool js = name == "jsarticle" || name == "jsbook" || name == "jsreport";
  if (!js || options.find("uplatex") != std::string_view::npos) return {};
  return "upLaTeX では " + std::string(name) + " に uplatex ｵﾌﾟｼｮﾝが要ります (\\documentclass[uplatex]{" +
         std::string(name) + "})。";
}

std::string PLaTeXDropsText(const std::vector<Unholdable>& found, const CodePage932& code_page, bool with_uplatex,
                            std::string_view class_advice) {
  std::string text = "この文書には pLaTeX が組めない文字 (JIS X 0208 にない文字) があります:";
  for (const Unholdable& place : found) text.append("\r  ").append(UnholdablePlace(place, code_page));
  text.append("\rpLaTeX はこれらの文字を落とすか、ｴﾗｰにします。");
  if (with_uplatex) {
    if (!class_advice.empty()) text.append("\r").append(class_advice);
    text.append("\rupLaTeX に切り替えて組版しますか?\r(「いいえ」ならこのまま pLaTeX で組版します)");
  } else {
    text.append("\rこのまま組版しますか?");
  }
  return text;
}

}  // namespace quillet
