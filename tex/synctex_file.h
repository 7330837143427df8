#pragma once
// SyncTeX text read once into compact arrays: the files it names, its pages, and each
// page's boxes and records in the order the engine wrote them, with their nesting.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum class SynctexKind : std::uint8_t {
  kVbox,      // [ ... ]
  kHbox,      // ( ... )
  kVoidVbox,  // v
  kVoidHbox,  // h
  kChar,      // x
  kKern,      // k (its position is where it ends)
  kGlue,      // g
  kMath,      // $
};

// Inline: searches ask it of every node of a page.
inline bool IsSynctexBox(SynctexKind kind) {
  return kind == SynctexKind::kVbox || kind == SynctexKind::kHbox || kind == SynctexKind::kVoidVbox ||
         kind == SynctexKind::kVoidHbox;
}

// One box or record, in the engine's units (positions of the reference point; a box
// spans v - height .. v + depth across and h .. h + width along). Records are most of
// the data, so what only boxes and kerns carry lies apart, in a SynctexExtent.
struct SynctexNode {
  std::int32_t h = 0, v = 0;
  std::int32_t tag = 0, line = 0;
  std::int32_t parent = -1;  // the enclosing box, -1 at a page's top level
  std::uint32_t extent = 0;  // its SynctexData::extents entry, 0 (all zero) for other records
  SynctexKind kind = SynctexKind::kChar;
};

struct SynctexExtent {
  std::int32_t width = 0, height = 0, depth = 0;  // kerns: width alone
  std::uint32_t end = 0;    // boxes: one past their last descendant
  std::uint16_t level = 0;  // boxes: the boxes around it
};

struct SynctexPage {
  std::int32_t number = 0;  // as written after "{"
  std::uint32_t first = 0, end = 0;  // its nodes
};

struct SynctexInput {
  std::int32_t tag = 0;
  std::string name;  // bytes as written
};

struct SynctexData {
  std::vector<SynctexInput> inputs;
  std::vector<SynctexPage> pages;
  std::vector<SynctexNode> nodes;
  std::vector<SynctexExtent> extents = {SynctexExtent{}};  // [0]: that of every other record
  std::int64_t unit = 1, magnification = 1000;
  std::int64_t x_offset = 4736287, y_offset = 4736287;  // one inch in scaled points

  const SynctexExtent& Extent(std::uint32_t node) const { return extents[nodes[node].extent]; }
  // One past the node's last descendant.
  std::uint32_t End(std::uint32_t node) const {
    return IsSynctexBox(nodes[node].kind) ? extents[nodes[node].extent].end : node + 1;
  }
};

// What the text holds; lines it cannot read are passed over.
SynctexData ParseSynctex(std::string_view text);

}  // namespace quillet
