#include "tex/synctex_reader.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

#include "tex/synctex_names.h"

namespace quillet {

namespace {

bool IsRecord(SynctexKind kind) {
  return kind != SynctexKind::kVbox && kind != SynctexKind::kHbox;
}

// Where a node's material ends along its line.
std::int64_t EndAlong(const SynctexData& data, std::uint32_t i) {
  const SynctexNode& node = data.nodes[i];
  return IsSynctexBox(node.kind) ? std::int64_t{node.h} + data.Extent(i).width : node.h;
}

double Distance(const SynctexRect& r, double x, double y) {
  double dx = x < r.x ? r.x - x : (x > r.x + r.w ? x - r.x - r.w : 0);
  double dy = y < r.y ? r.y - y : (y > r.y + r.h ? y - r.y - r.h : 0);
  return std::hypot(dx, dy);
}

std::int32_t Clamp32(std::int64_t u) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(u, INT32_MIN, INT32_MAX));
}

bool Contains(const SynctexRect& r, double x, double y) {
  return x >= r.x && x <= r.x + r.w && y >= r.y && y <= r.y + r.h;
}

}  // namespace

SynctexReader::SynctexReader(std::string_view text) : data_(ParseSynctex(text)) {
  by_line_.resize(data_.nodes.size());
  for (std::uint32_t i = 0; i < by_line_.size(); ++i) by_line_[i] = i;
  std::sort(by_line_.begin(), by_line_.end(), [this](std::uint32_t a, std::uint32_t b) {
    const SynctexNode &na = data_.nodes[a], &nb = data_.nodes[b];
    return std::make_tuple(na.tag, na.line, !IsRecord(na.kind), a) < std::make_tuple(nb.tag, nb.line, !IsRecord(nb.kind), b);
  });
}

// pTeX writes no direction: a vertical (tate) box is set right of the one-inch margin,
// where v < 0, with the page's x running against v and its y along h.
SynctexRect SynctexReader::Rect(std::int32_t h0, std::int32_t h1, std::int32_t v, std::int32_t height,
                                std::int32_t depth) const {
  const double scale = static_cast<double>(data_.unit) * static_cast<double>(data_.magnification) / 1000.0;
  const double to_bp = 72.0 / 72.27 / 65536.0;
  auto x = [&](double u) { return (u * scale + static_cast<double>(data_.x_offset)) * to_bp; };
  auto y = [&](double u) { return (u * scale + static_cast<double>(data_.y_offset)) * to_bp; };
  // Damaged data may give a box a negative extent: its corners are taken as they come.
  auto rect = [](double x0, double y0, double x1, double y1) {
    return SynctexRect{std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0)};
  };
  const double hv = v, hh = height, hd = depth;
  if (v < 0) return rect(x(-hv - hd), y(h0), x(-hv + hh), y(h1));
  return rect(x(h0), y(hv - hh), x(h1), y(hv + hd));
}

// Records have no height nor depth: their extent gives zeros.
SynctexRect SynctexReader::NodeRect(std::uint32_t i) const {
  const SynctexNode& node = data_.nodes[i];
  const SynctexExtent& extent = data_.Extent(i);
  std::int64_t start = node.h, end = EndAlong(data_, i);
  if (node.kind == SynctexKind::kKern) start = std::int64_t{node.h} - extent.width;
  return Rect(Clamp32(std::min(start, end)), Clamp32(std::max(start, end)), node.v, extent.height, extent.depth);
}

// The part of a line of type (box) that holds line's material: from where the material
// before it ends to where its own last piece ends.
SynctexRect SynctexReader::LineStretch(std::uint32_t box, std::int32_t tag, std::int32_t line) const {
  const SynctexNode& outer = data_.nodes[box];
  const SynctexExtent& outer_extent = data_.Extent(box);
  std::int64_t before = outer.h, start = outer.h, end = outer.h;
  bool found = false;
  for (std::uint32_t i = box + 1; i < outer_extent.end; i = std::max(i + 1, data_.End(i))) {
    bool holds = false;
    for (std::uint32_t j = i, child_end = data_.End(i); j < child_end && !holds; ++j)
      holds = data_.nodes[j].tag == tag && data_.nodes[j].line == line;
    if (holds) {
      if (!found) start = before;
      // A space left at the end of the stretch is no material of the line.
      if (!found || data_.nodes[i].kind != SynctexKind::kGlue) end = EndAlong(data_, i);
      found = true;
    }
    before = EndAlong(data_, i);
  }
  return Rect(Clamp32(std::min(start, end)), Clamp32(std::max(start, end)), outer.v, outer_extent.height,
              outer_extent.depth);
}

SynctexForward SynctexReader::Forward(std::string_view source, std::string_view folder, int line,
                                      const CodePage932& code_page) const {
  SynctexForward answer;
  std::vector<std::uint32_t> found;
  auto key = [this](std::uint32_t i) { return std::make_pair(data_.nodes[i].tag, data_.nodes[i].line); };
  for (std::int32_t tag : SynctexTagsOf(data_, source, folder, code_page)) {
    const std::pair<std::int32_t, std::int32_t> wanted(tag, line);
    auto first = std::partition_point(by_line_.begin(), by_line_.end(), [&](std::uint32_t i) { return key(i) < wanted; });
    auto last = std::partition_point(first, by_line_.end(), [&](std::uint32_t i) { return key(i) == wanted; });
    found.insert(found.end(), first, last);
  }
  if (found.empty()) return answer;
  // Records place a line better than the boxes TeX tags with the line that closed them.
  bool records = std::any_of(found.begin(), found.end(), [this](std::uint32_t i) { return IsRecord(data_.nodes[i].kind); });
  std::erase_if(found, [&](std::uint32_t i) { return IsRecord(data_.nodes[i].kind) != records; });
  std::sort(found.begin(), found.end());
  auto page = std::upper_bound(data_.pages.begin(), data_.pages.end(), found.front(),
                               [](std::uint32_t i, const SynctexPage& p) { return i < p.first; }) - 1;
  answer.page = page->number;
  std::vector<std::uint32_t> lines_of_type;
  for (std::uint32_t i : found) {
    if (i >= page->end) break;
    std::int32_t box = data_.nodes[i].parent;
    while (box >= 0 && data_.nodes[box].kind != SynctexKind::kHbox) box = data_.nodes[box].parent;
    if (!records || box < 0) {
      answer.boxes.push_back(NodeRect(i));
    } else if (std::find(lines_of_type.begin(), lines_of_type.end(), box) == lines_of_type.end()) {
      lines_of_type.push_back(static_cast<std::uint32_t>(box));
      answer.boxes.push_back(LineStretch(static_cast<std::uint32_t>(box), data_.nodes[i].tag, line));
    }
  }
  return answer;
}

std::int32_t SynctexReader::NearestRecord(std::uint32_t first, std::uint32_t end, double x, double y) const {
  std::int32_t best = -1;
  double best_distance = std::numeric_limits<double>::infinity();
  for (std::uint32_t i = first; i < end; ++i) {
    if (!IsRecord(data_.nodes[i].kind)) continue;
    double d = Distance(NodeRect(i), x, y);
    if (d < best_distance) best_distance = d, best = static_cast<std::int32_t>(i);
  }
  return best;
}

SynctexInverse SynctexReader::Answer(const SynctexNode& node) const {
  SynctexInverse answer;
  for (const SynctexInput& input : data_.inputs)
    if (input.tag == node.tag) answer = {true, input.name, node.line};
  return answer;
}

SynctexInverse SynctexReader::Inverse(int page_number, double x, double y) const {
  auto page = std::find_if(data_.pages.begin(), data_.pages.end(), [&](const SynctexPage& p) { return p.number == page_number; });
  if (page == data_.pages.end()) return {};
  std::int32_t inner = -1;
  std::uint16_t inner_level = 0;
  double inner_area = 0;
  for (std::uint32_t i = page->first; i < page->end; ++i) {
    if (!IsSynctexBox(data_.nodes[i].kind)) continue;
    SynctexRect r = NodeRect(i);
    if (!Contains(r, x, y)) continue;
    std::uint16_t level = data_.Extent(i).level;
    bool deeper = inner < 0 || level > inner_level || (level == inner_level && r.w * r.h < inner_area);
    if (deeper) inner = static_cast<std::int32_t>(i), inner_level = level, inner_area = r.w * r.h;
  }
  std::uint32_t first = page->first, end = page->end;
  if (inner >= 0) first = static_cast<std::uint32_t>(inner) + 1, end = data_.End(static_cast<std::uint32_t>(inner));
  std::int32_t record = NearestRecord(first, end, x, y);
  if (record >= 0) return Answer(data_.nodes[record]);
  return inner >= 0 ? Answer(data_.nodes[inner]) : SynctexInverse{};
}

}  // namespace quillet
