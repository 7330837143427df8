#pragma once
// The document classes the new-document wizard offers, one row each: what the class is
// for, the engines that typeset it (with the class file and option each engine needs),
// and the options the class takes, to suggest. Which of them the installed TeX has is
// found by the engine bridge and written to a small list file that is read here.
#include <array>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum class TeXEngine { kPLaTeX, kUpLaTeX, kLaTeX };

// As the format entries of wintex.ini name them: "pLaTeX" and so on.
const char* EngineMenuText(TeXEngine engine);
// The engine a format (its name in wintex.ini or its menu text) runs; none for others.
std::optional<TeXEngine> EngineOfFormat(std::string_view format_name);

// How one engine typesets a class.
struct ClassVariant {
  TeXEngine engine = TeXEngine::kLaTeX;
  const char* file = nullptr;  // the class file's name without ".cls"; null for no variant
  const char* option = "";     // the class option the engine needs ("uplatex"), "" for none
  // The class file holds Japanese that the engine reads in UTF-8: told that the document
  // is Shift-JIS (-kanji=sjis), it reads the class file so too and stops. The document
  // must be UTF-8.
  bool utf8_only = false;
};

struct DocClass {
  const char* name;
  const char* purpose;  // what the class is for
  const char* kind;     // Western or Japanese, and how
  std::array<ClassVariant, 2> variants;  // the first is the usual engine
  // Suggestions for the base size, the paper and other options, comma separated: only
  // options the class takes.
  const char* sizes;
  const char* papers;
  const char* others;
  // Files besides the class file that the class loads and TeX Live ships apart from it.
  const char* needs = "";
};

namespace class_options {
inline constexpr char kLaTeXSizes[] = "10pt,11pt,12pt";
inline constexpr char kLaTeXPapers[] = "a4paper,a5paper,b5paper,letterpaper";
inline constexpr char kJPapers[] = "a4paper,a5paper,b4paper,b5paper,a4j,a5j,b4j,b5j,a4p,a5p,b4p,b5p";
inline constexpr char kJsSizes[] = "9pt,10pt,11pt,12pt,14pt,17pt,20pt";
inline constexpr char kJsPapers[] = "a4paper,a5paper,b4paper,b5paper,a4j,a5j,b4j,b5j,letterpaper";
inline constexpr char kOthers[] = "twocolumn,twoside,landscape,draft";
inline constexpr char kBookOthers[] = "twocolumn,oneside,openany,landscape,draft";
}  // namespace class_options

// The wizard's list, in its order.
inline constexpr std::array<DocClass, 13> kDocClasses{{
    {"jsarticle", "短い文書用のスタイルです。", "和文、jsクラス",
     {{{TeXEngine::kPLaTeX, "jsarticle"}, {TeXEngine::kUpLaTeX, "jsarticle", "uplatex"}}},
     class_options::kJsSizes, class_options::kJsPapers, class_options::kOthers},
    {"jsreport", "論文集などに使うスタイルです。", "和文、jsクラス",
     {{{TeXEngine::kPLaTeX, "jsreport"}, {TeXEngine::kUpLaTeX, "jsreport", "uplatex"}}},
     class_options::kJsSizes, class_options::kJsPapers, class_options::kBookOthers},
    {"jsbook", "書籍の編集に使うスタイルです。", "和文、jsクラス",
     {{{TeXEngine::kPLaTeX, "jsbook"}, {TeXEngine::kUpLaTeX, "jsbook", "uplatex"}}},
     class_options::kJsSizes, class_options::kJsPapers, class_options::kBookOthers},
    {"jlreq", "文書全般に使えるスタイルです。", "和文、JLReq準拠、tateで縦組",
     {{{TeXEngine::kUpLaTeX, "jlreq", "", true}, {TeXEngine::kPLaTeX, "jlreq", "platex", true}}},
     "10pt,11pt,12pt,fontsize=13Q", "a4paper,a5paper,paper=b5j,paper=b4j",
     "tate,twocolumn,report,book,landscape", "etoolbox.sty,everyhook.sty,svn-prov.sty,filehook.sty,lmodern.sty"},
    {"jarticle", "短い文書用のスタイルです。", "和文",
     {{{TeXEngine::kPLaTeX, "jarticle"}, {TeXEngine::kUpLaTeX, "ujarticle", "", true}}},
     class_options::kLaTeXSizes, class_options::kJPapers, class_options::kOthers},
    {"jreport", "論文集などに使うスタイルです。", "和文",
     {{{TeXEngine::kPLaTeX, "jreport"}, {TeXEngine::kUpLaTeX, "ujreport", "", true}}},
     class_options::kLaTeXSizes, class_options::kJPapers, class_options::kBookOthers},
    {"jbook", "書籍の編集に使うスタイルです。", "和文",
     {{{TeXEngine::kPLaTeX, "jbook"}, {TeXEngine::kUpLaTeX, "ujbook", "", true}}},
     class_options::kLaTeXSizes, class_options::kJPapers, class_options::kBookOthers},
    {"tarticle", "短い文書用のスタイルです。", "和文縦組対応",
     {{{TeXEngine::kPLaTeX, "tarticle"}, {TeXEngine::kUpLaTeX, "utarticle", "", true}}},
     class_options::kLaTeXSizes, class_options::kJPapers, class_options::kOthers},
    {"treport", "論文集などに使うスタイルです。", "和文縦組対応",
     {{{TeXEngine::kPLaTeX, "treport"}, {TeXEngine::kUpLaTeX, "utreport", "", true}}},
     class_options::kLaTeXSizes, class_options::kJPapers, class_options::kBookOthers},
    {"tbook", "書籍の編集に使うスタイルです。", "和文縦組対応",
     {{{TeXEngine::kPLaTeX, "tbook"}, {TeXEngine::kUpLaTeX, "utbook", "", true}}},
     class_options::kLaTeXSizes, class_options::kJPapers, class_options::kBookOthers},
    {"article", "短い文書用のスタイルです。", "欧文", {{{TeXEngine::kLaTeX, "article"}}},
     class_options::kLaTeXSizes, class_options::kLaTeXPapers, class_options::kOthers},
    {"report", "論文集などに使うスタイルです。", "欧文", {{{TeXEngine::kLaTeX, "report"}}},
     class_options::kLaTeXSizes, class_options::kLaTeXPapers, class_options::kBookOthers},
    {"book", "書籍の編集に使うスタイルです。", "欧文", {{{TeXEngine::kLaTeX, "book"}}},
     class_options::kLaTeXSizes, class_options::kLaTeXPapers, class_options::kBookOthers},
}};

// What the wizard shows of a class: its purpose, and its kind in parentheses below.
std::string ClassDescription(const DocClass& c);
// The row of a class by its name; null when the table has none.
const DocClass* FindDocClass(std::string_view name);
// The class's variants that are there (file set).
std::vector<ClassVariant> Variants(const DocClass& c);
// The variant of a class for an engine; none when the class does not run there.
std::optional<ClassVariant> VariantFor(const DocClass& c, TeXEngine engine);
// Whether a document of the class (a name of the table) must be UTF-8 for the engine.
bool NeedsUtf8Document(std::string_view class_name, TeXEngine engine);

// A comma-separated list's items, as they stand.
std::vector<std::string> ListItems(std::string_view list);


// The files ("jarticle.cls", "etoolbox.sty") the classes of the table need, each once.
std::vector<std::string> FilesToFind();

// Those of the files the installed TeX has, as the engine bridge found them; none when
// there is no list (an outside engine, or the bridge failed).
using InstalledClasses = std::optional<std::set<std::string>>;

// The list file: a comment line, then one file name a line.
std::string ClassListText(const std::vector<std::string>& found);
std::set<std::string> ParseClassList(std::string_view text);

// What the wizard offers: each class with the variants whose files are all installed, in the
// table's order; a class with none is left out. Without a list, or when the list leaves
// nothing, every class with every variant.
struct OfferedClass {
  const DocClass* doc_class;
  std::vector<ClassVariant> variants;
};
std::vector<OfferedClass> OfferedClasses(const InstalledClasses& installed);

}  // namespace quillet
