#pragma once
// The document the new-document wizard writes: its style line, title block, index and
// contents lines, in the order a LaTeX document needs them. The wizard's texts are copied
// as they were typed, with no escaping and no trimming.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct DocStyle {
  const char* name;
  const char* description;
};
// The styles the wizard offers, in its list's order.
inline constexpr std::array<DocStyle, 10> kDocStyles{{
    {"article", "短い文書用のスタイルです。(欧文)"},
    {"book", "書籍の編集に使うスタイルです。(欧文)"},
    {"jarticle", "短い文書用のスタイルです。(和文)"},
    {"jbook", "書籍の編集に使うスタイルです。(和文)"},
    {"jreport", "論文集などに使うスタイルです。(和文)"},
    {"letter", "手紙用のスタイルです。(欧文)"},
    {"report", "論文集などに使うスタイルです。(欧文)"},
    {"tarticle", "短い文書用のスタイルです。(和文縦組対応)"},
    {"tbook", "書籍の編集に使うスタイルです。(和文縦組対応)"},
    {"treport", "論文集などに使うスタイルです。(和文縦組対応)"},
}};
inline constexpr std::array<const char*, 3> kPageStyles{"empty", "plain", "headings"};

struct DocChoices {
  std::string style{}, base_size{}, paper_size{}, other_options{};
  bool title_page = false, use_index = false;
  bool title_exist = true;
  std::string title{}, author1{}, author2{}, date{}, thanks{};
  std::string page_style = "plain";
  bool contents = false, figure_contents = false, table_contents = false;
};

// The document's lines, without line ends.
std::vector<std::string> SkeletonLines(const DocChoices& c);

}  // namespace quillet
