#pragma once
// JIS X 0208 rows and cells, the 94 × 94 grid that Shift-JIS, EUC-JP and ISO-2022-JP all
// encode: one converts to another by arithmetic, exactly, without any table.
#include <cstdint>

namespace quillet {

struct JisCell {
  int row = 0, cell = 0;  // 1..94 each
};

// Whether a byte pair is a Shift-JIS double-byte code of the grid's rows 1 to 94
// (leads 0x81-0x9F and 0xE0-0xEF, trails 0x40-0x7E and 0x80-0xFC).
bool IsGridShiftJis(unsigned char lead, unsigned char trail);
JisCell JisFromShiftJis(unsigned char lead, unsigned char trail);
// The Shift-JIS code (lead << 8 | trail) of a row and cell of 1..94.
std::uint16_t ShiftJisFromJis(JisCell jis);

// Whether a code of Shift-JIS text (one byte, or lead << 8 | trail) is a character of
// JIS X 0201 Roman (ASCII) or JIS X 0208 (rows 1-8 and 16-84): what pTeX takes. Not
// half-width katakana, the NEC and IBM extensions or user-defined characters.
bool IsJisX0208Code(std::uint16_t code);

}  // namespace quillet
