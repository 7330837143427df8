#include "aids/doc_skeleton.h"

namespace quillet {

namespace {

// "[a,b,c]" of the options that are set; nothing when none is.
std::string OptionList(const DocChoices& c) {
  std::string list;
  auto add = [&list](std::string_view option) {
    if (option.empty()) return;
    list += list.empty() ? "[" : ",";
    list += option;
  };
  add(c.base_size);
  add(c.paper_size);
  if (c.title_page) add("titlepage");
  if (c.use_index) add("makeidx");
  add(c.other_options);
  if (!list.empty()) list += "]";
  return list;
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
  std::vector<std::string> lines{"\\documentstyle" + OptionList(c) + "{" + c.style + "}"};
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
