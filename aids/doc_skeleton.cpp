#include "aids/doc_skeleton.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/sjis.h"

namespace quillet {

namespace {

// Options of the old style line that are packages of their own under LaTeX2e: a class
// given them would pass them over or refuse them.
constexpr std::string_view kPackageOptions[] = {
    "makeidx", "ascmac", "epsf",   "epsfig",  "graphics", "graphicx", "color", "amsmath",
    "amssymb", "latexsym", "multicol", "verbatim", "ifthen", "alltt",  "url",   "fancyhdr",
};

// The package an option names, without blanks round it; empty when it is no package.
std::string_view PackageName(std::string_view option) {
  option = Trimmed(option);
  bool known = std::find(std::begin(kPackageOptions), std::end(kPackageOptions), option) != std::end(kPackageOptions);
  return known ? option : std::string_view();
}

struct ClassLine {
  std::string line;
  std::vector<std::string> packages;
};

// "\documentclass[a,b,c]{class}" of the options that are set (none: no brackets), and
// the packages among them, each once.
ClassLine MakeClassLine(const DocChoices& c) {
  std::string file = c.style, options;
  std::vector<std::string> packages;
  auto add = [&](std::string_view option) {
    for (const std::string& item : ListItems(option)) {
      std::string_view package = PackageName(item);
      if (package.empty()) {
        options += options.empty() ? "[" : ",";
        options += item;
      } else if (std::find(packages.begin(), packages.end(), package) == packages.end()) {
        packages.emplace_back(package);
      }
    }
  };
  if (const DocClass* row = FindDocClass(c.style)) {
    if (std::optional<ClassVariant> variant = VariantFor(*row, c.engine)) {
      file = variant->file;
      add(variant->option);
    }
  }
  add(c.base_size);
  add(c.paper_size);
  if (c.title_page) add("titlepage");
  if (c.use_index) add("makeidx");
  add(c.other_options);
  if (!options.empty()) options += "]";
  return {std::string("\\documentclass").append(options).append("{").append(file).append("}"), packages};
}

void AddTitleBlock(const DocChoices& c, std::vector<std::string>& lines) {
  if (c.title_page) lines.push_back("\\begin{titlepage}");
  lines.push_back("\\title{" + c.title + "}");
  std::string author = "\\author{" + c.author1;
  if (!c.author2.empty()) author += "\\and " + c.author2;
  lines.push_back(author + "}");
  if (!c.date.empty()) lines.push_back("\\date{" + c.date + "}");
  if (c.title_page) lines.push_back("\\end{titlepage}");
}

}  // namespace

std::vector<std::string> SkeletonLines(const DocChoices& c) {
  ClassLine head = MakeClassLine(c);
  std::vector<std::string> lines{head.line};
  for (const std::string& package : head.packages) lines.push_back(std::string("\\usepackage{").append(package).append("}"));
  if (c.title_exist) AddTitleBlock(c, lines);
  if (c.use_index) lines.push_back("\\makeindex");
  lines.push_back("\\begin{document}");
  if (c.title_exist) {
    if (!c.thanks.empty()) lines.push_back("\\thanks{" + c.thanks + "}");
    lines.push_back("\\maketitle");
  }
  lines.push_back("\\pagestyle{" + c.page_style + "}");
  if (c.contents) lines.push_back("\\tableofcontents");
  if (c.figure_contents) lines.push_back("\\listoffigures");
  if (c.table_contents) lines.push_back("\\listoftables");
  lines.push_back("%ここにメインの文書を書く");
  if (c.use_index) lines.push_back("\\printindex");
  lines.push_back("\\end{document}");
  return lines;
}

}  // namespace quillet
