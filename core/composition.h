#pragma once
// A composition of the input method as the editor draws it inside the text: its
// characters, the clause attribute of each, the clause bounds and the input method's
// caret, all counted in UTF-16 units as the platform gives them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page_932.h"

namespace quillet {

// The platform's clause attributes (ATTR_INPUT ...).
enum CompositionAttr : std::uint8_t {
  kAttrInput = 0,
  kAttrTargetConverted = 1,
  kAttrConverted = 2,
  kAttrTargetNotConverted = 3,
  kAttrInputError = 4,
  kAttrFixedConverted = 5,
};

struct Composition {
  std::u16string text;
  std::vector<std::uint8_t> attrs;     // one per unit; missing ones read as input
  std::vector<std::uint32_t> clauses;  // clause starts and the end, as the platform lists them
  std::size_t cursor = 0;
  bool empty() const { return text.empty(); }
};

enum class UnderlineStyle { kDotted, kThin, kThick };

// A run of one clause drawn with one underline, [begin, end) in units.
struct UnderlineRun {
  std::size_t begin, end;
  UnderlineStyle style;
  bool operator==(const UnderlineRun&) const = default;
};

// As the platform's own controls show them: input dotted, the clause being converted
// thick, converted clauses thin; runs split at clause bounds so neighbours show apart.
std::vector<UnderlineRun> CompositionUnderlines(const Composition& composition);

// The first unit of the clause being converted; the start when none is (the input
// method's suggestions for what is typed go below its start).
std::size_t TargetStart(const Composition& composition);

// The unit at a byte offset of the composition as an ANSI window is given it (code page
// 932, one "?" for a character without a code), clamped to the end.
std::size_t UnitAtAnsiOffset(std::u16string_view text, std::size_t offset, const CodePage932& code_page);

}  // namespace quillet
