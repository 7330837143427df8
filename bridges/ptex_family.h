#pragma once
// What the engine bridge must mind with the engines of the pTeX family: pLaTeX, upLaTeX,
// pTeX and upTeX, their e- and -dev forms. TeX Live's pTeX takes one input code for a
// whole run (-kanji=utf8|sjis|euc|jis) and does not guess it file by file, so the bridge
// names the code the source is written in; and pTeX and pLaTeX (not the Unicode upTeX and
// upLaTeX) take only the characters of JIS X 0208 in the name they are started on.
#include <string>
#include <string_view>

#include "core/text_encoding.h"

namespace quillet {

// The program a command starts, in lower case without folder, ".exe" or "-dev":
// "platex" for "C:\texlive\bin\platex.exe" or "/usr/bin/platex-dev".
std::string ProgramName(std::string_view command);

// pTeX reads JIS X 0208 only, upTeX Unicode; e-pTeX and the -dev builds are the same
// engines.
enum class EngineFamily { kOther, kPTeX, kUpTeX };
EngineFamily FamilyOf(std::string_view engine_command);

// The name the family's -kanji= option gives the encoding: "utf8", "sjis", "euc", "jis".
const char* KanjiName(Encoding encoding);

// The command with -kanji= for the encoding when it runs the pTeX family and does not
// name its input code itself (-kanji=..., --kanji ...); else the command as it is.
std::string WithKanjiOption(const std::string& engine_command, Encoding encoding);

// The first character of a Shift-JIS file name that the command's engine cannot be
// started on: with pTeX and pLaTeX, one outside JIS X 0208 (half-width katakana, the NEC
// and IBM extensions, user-defined characters). Empty when there is none.
std::string CharEngineCannotTake(std::string_view engine_command, std::string_view file_name);

}  // namespace quillet
