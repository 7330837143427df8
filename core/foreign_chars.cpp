#include "core/foreign_chars.h"

namespace quillet {

namespace {
constexpr std::size_t kTrailsPerLead = 188;  // 0x40-0x7E and 0x80-0xFC

std::uint16_t CodeAt(std::size_t index) {
  std::size_t lead = 0xF0 + index / kTrailsPerLead, trail = 0x40 + index % kTrailsPerLead;
  if (trail >= 0x7F) ++trail;
  return static_cast<std::uint16_t>(lead << 8 | trail);
}
}  // namespace

std::uint16_t ForeignChars::CodeFor(char32_t c) {
  if (auto found = codes_.find(c); found != codes_.end()) return found->second;
  if (chars_.size() == kCapacity) {
    overflow_.insert(c);
    return 0;
  }
  std::uint16_t code = CodeAt(chars_.size());
  chars_.push_back(c);
  codes_.emplace(c, code);
  return code;
}

char32_t ForeignChars::CharOf(unsigned char lead, unsigned char trail) const {
  if (!IsAreaCode(lead, trail)) return 0;
  std::size_t index = (lead - 0xF0u) * kTrailsPerLead + trail - 0x40u - (trail > 0x7F ? 1u : 0u);
  return index < chars_.size() ? chars_[index] : 0;
}

}  // namespace quillet
