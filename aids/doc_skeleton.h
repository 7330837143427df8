#pragma once
// The document the new-document wizard writes: its class line, packages, title block,
// index and contents lines, in the order a LaTeX document needs them. The wizard's texts
// are copied as they were typed, with no escaping and no trimming.
#include <array>
#include <string>
#include <vector>

#include "aids/document_classes.h"

namespace quillet {

inline constexpr std::array<const char*, 3> kPageStyles{"empty", "plain", "headings"};

struct DocChoices {
  // A class of the table is written as the engine needs it (ujarticle for jarticle under
  // upLaTeX, the option "uplatex" for jsarticle); any other name as it is.
  std::string style{};
  TeXEngine engine = TeXEngine::kPLaTeX;
  std::string base_size{}, paper_size{}, other_options{};
  bool title_page = false, use_index = false;
  bool title_exist = true;
  std::string title{}, author1{}, author2{}, date{}, thanks{};
  std::string page_style = "plain";
  bool contents = false, figure_contents = false, table_contents = false;
};

// The document's lines, without line ends.
std::vector<std::string> SkeletonLines(const DocChoices& c);

}  // namespace quillet
