#include "core/jis_codes.h"

namespace quillet {

bool IsGridShiftJis(unsigned char lead, unsigned char trail) {
  bool lead_ok = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF);
  return lead_ok && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

// Each lead byte holds two rows: the odd row in trails 0x40-0x9E (0x7F skipped), the even
// row in 0x9F-0xFC.
JisCell JisFromShiftJis(unsigned char lead, unsigned char trail) {
  int pair = lead <= 0x9F ? lead - 0x81 : lead - 0xC1;
  if (trail >= 0x9F) return {2 * pair + 2, trail - 0x9E};
  return {2 * pair + 1, trail - 0x3F - (trail >= 0x80 ? 1 : 0)};
}

std::uint16_t ShiftJisFromJis(JisCell jis) {
  int lead = ((jis.row + 1) >> 1) + (jis.row <= 62 ? 0x80 : 0xC0);
  int trail = jis.row % 2 ? jis.cell + 0x3F + (jis.cell >= 64 ? 1 : 0) : jis.cell + 0x9E;
  return static_cast<std::uint16_t>(lead << 8 | trail);
}

bool IsJisX0208Code(std::uint16_t code) {
  if (code < 0x80) return true;
  unsigned char lead = static_cast<unsigned char>(code >> 8), trail = static_cast<unsigned char>(code);
  if (code < 0x100 || !IsGridShiftJis(lead, trail)) return false;
  int row = JisFromShiftJis(lead, trail).row;
  return row <= 8 || (row >= 16 && row <= 84);
}

}  // namespace quillet
