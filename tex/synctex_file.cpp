#include "tex/synctex_file.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace quillet {

namespace {

// Reads a decimal number at text[i], moving i past it; false when there is none or it
// does not fit.
bool ReadInt(std::string_view text, std::size_t& i, std::int32_t& value) {
  auto [p, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  if (ec != std::errc()) return false;
  i = static_cast<std::size_t>(p - text.data());
  return true;
}

bool Expect(std::string_view text, std::size_t& i, char c) {
  if (i >= text.size() || text[i] != c) return false;
  ++i;
  return true;
}

// "tag,line[,column]:h,v" then, when extent is given, ":width[,height,depth]".
bool ReadFields(std::string_view text, SynctexNode& node, SynctexExtent* extent) {
  std::size_t i = 1;
  std::int32_t column = 0;
  if (!ReadInt(text, i, node.tag) || !Expect(text, i, ',') || !ReadInt(text, i, node.line)) return false;
  if (Expect(text, i, ',') && !ReadInt(text, i, column)) return false;
  if (!Expect(text, i, ':') || !ReadInt(text, i, node.h) || !Expect(text, i, ',') || !ReadInt(text, i, node.v))
    return false;
  if (!extent) return true;
  if (!Expect(text, i, ':') || !ReadInt(text, i, extent->width)) return false;
  if (node.kind == SynctexKind::kKern) return true;
  return Expect(text, i, ',') && ReadInt(text, i, extent->height) && Expect(text, i, ',') &&
         ReadInt(text, i, extent->depth);
}

bool KindOf(char c, SynctexKind& kind) {
  switch (c) {
    case '[': kind = SynctexKind::kVbox; return true;
    case '(': kind = SynctexKind::kHbox; return true;
    case 'v': kind = SynctexKind::kVoidVbox; return true;
    case 'h': kind = SynctexKind::kVoidHbox; return true;
    case 'x': kind = SynctexKind::kChar; return true;
    case 'k': kind = SynctexKind::kKern; return true;
    case 'g': kind = SynctexKind::kGlue; return true;
    case '$': kind = SynctexKind::kMath; return true;
    default: return false;
  }
}

bool HasSizes(SynctexKind kind) {
  return IsSynctexBox(kind) || kind == SynctexKind::kKern;
}

std::int64_t Number(std::string_view text, std::int64_t fallback) {
  std::int64_t value = 0;
  auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() ? value : fallback;
}

bool CutPrefix(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

class Parser {
 public:
  explicit Parser(SynctexData& data) : data_(data) {}

  void Line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) return;
    if (CutPrefix(line, "Input:")) return AddInput(line);
    if (!content_) return Preamble(line);
    if (line[0] == '{') return OpenPage(line);
    if (line[0] == '}') return ClosePage();
    if (line[0] == ']' || line[0] == ')') return CloseBox(line[0] == ']' ? SynctexKind::kVbox : SynctexKind::kHbox);
    SynctexKind kind;
    if (page_open_ && KindOf(line[0], kind)) AddNode(line, kind);
  }

  void Finish() { ClosePage(); }

 private:
  void AddInput(std::string_view rest) {
    std::size_t i = 0;
    SynctexInput input;
    if (!ReadInt(rest, i, input.tag) || !Expect(rest, i, ':')) return;
    input.name.assign(rest.substr(i));
    data_.inputs.push_back(std::move(input));
  }

  void Preamble(std::string_view line) {
    if (line == "Content:") content_ = true;
    else if (CutPrefix(line, "Unit:")) data_.unit = Number(line, 1);
    else if (CutPrefix(line, "Magnification:")) data_.magnification = Number(line, 1000);
    else if (CutPrefix(line, "X Offset:")) data_.x_offset = Number(line, data_.x_offset);
    else if (CutPrefix(line, "Y Offset:")) data_.y_offset = Number(line, data_.y_offset);
  }

  void OpenPage(std::string_view line) {
    ClosePage();
    std::size_t i = 1;
    SynctexPage page;
    if (!ReadInt(line, i, page.number) || page.number < 1) return;  // pages count from 1
    page.first = page.end = static_cast<std::uint32_t>(data_.nodes.size());
    data_.pages.push_back(page);
    page_open_ = true;
  }

  void ClosePage() {
    if (!page_open_) return;
    while (!open_.empty()) PopBox();
    data_.pages.back().end = static_cast<std::uint32_t>(data_.nodes.size());
    page_open_ = false;
  }

  void CloseBox(SynctexKind kind) {
    if (!open_.empty() && data_.nodes[open_.back()].kind == kind) PopBox();
  }

  void PopBox() {
    data_.extents[data_.nodes[open_.back()].extent].end = static_cast<std::uint32_t>(data_.nodes.size());
    open_.pop_back();
  }

  void AddNode(std::string_view line, SynctexKind kind) {
    SynctexNode node;
    node.kind = kind;
    SynctexExtent extent;
    if (!ReadFields(line, node, HasSizes(kind) ? &extent : nullptr)) return;
    if (data_.nodes.size() >= std::numeric_limits<std::int32_t>::max()) return;
    node.parent = open_.empty() ? -1 : static_cast<std::int32_t>(open_.back());
    if (HasSizes(kind)) {
      extent.level = static_cast<std::uint16_t>(std::min<std::size_t>(open_.size(), 0xFFFF));
      extent.end = static_cast<std::uint32_t>(data_.nodes.size() + 1);
      node.extent = static_cast<std::uint32_t>(data_.extents.size());
      data_.extents.push_back(extent);
    }
    data_.nodes.push_back(node);
    if (kind == SynctexKind::kVbox || kind == SynctexKind::kHbox) open_.push_back(static_cast<std::uint32_t>(data_.nodes.size() - 1));
  }

  SynctexData& data_;
  std::vector<std::uint32_t> open_;
  bool content_ = false;
  bool page_open_ = false;
};

}  // namespace

SynctexData ParseSynctex(std::string_view text) {
  SynctexData data;
  // Nearly every line is a node: one allocation instead of a growing copy.
  data.nodes.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  Parser parser(data);
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    parser.Line(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
  }
  parser.Finish();
  return data;
}

}  // namespace quillet
