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

// One box or record, in the engine's units (positions of the reference point; a box
// spans v - height .. v + depth across and h .. h + width along).
struct SynctexNode {
  std::int32_t h = 0, v = 0, width = 0, height = 0, depth = 0;
  std::int32_t tag = 0, line = 0;
  std::int32_t parent = -1;  // the enclosing box, -1 at a page's top level
  std::uint32_t end = 0;     // boxes: one past their last descendant
  std::uint16_t level = 0;   // boxes around it
  SynctexKind kind = SynctexKind::kChar;
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
  std::int64_t unit = 1, magnification = 1000;
  std::int64_t x_offset = 4736287, y_offset = 4736287;  // one inch in scaled points
};

// What the text holds; lines it cannot read are passed over.
SynctexData ParseSynctex(std::string_view text);

bool IsSynctexBox(SynctexKind kind);

}  // namespace quillet
