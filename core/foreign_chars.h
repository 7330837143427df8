#pragma once
// Characters a document holds that Shift-JIS has no code for (𠮷, emoji, ♥, a WAVE DASH
// from a Mac ...). The editor's text is Shift-JIS, so each such character is given a code
// of the user-defined area, 0xF040-0xF9FC, for as long as the document is open: the editor
// moves over it and deletes it as one character, draws it from its Unicode character, and
// the save writes the character back. Codes are handed out in order and never taken back
// (an undo may bring a deleted character back).
//
// Besides Unicode characters the table holds two kinds of stand-ins, so that no byte of a
// file is ever lost: a byte that reads as no character in the file's encoding (kept as it
// was), and a JIS X 0212 character of EUC-JP or ISO-2022-JP (kept by its row and cell).
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quillet {

inline constexpr char32_t kKeptByteBase = 0x110000;
inline constexpr char32_t kJis0212Base = 0x120000;
constexpr char32_t KeptByte(unsigned char byte) { return kKeptByteBase + byte; }
constexpr bool IsKeptByte(char32_t c) { return c >= kKeptByteBase && c < kKeptByteBase + 0x100; }
// row and cell of 1..94.
constexpr char32_t Jis0212Char(int row, int cell) { return kJis0212Base + static_cast<char32_t>(row << 8 | cell); }
constexpr bool IsJis0212(char32_t c) { return c >= kJis0212Base && c < kJis0212Base + 0x10000; }

// What the editor shows when the area's codes have run out (read-only): 〓.
inline constexpr std::uint16_t kGetaCode = 0x81AC;

class ForeignChars {
 public:
  static constexpr std::size_t kCapacity = 10 * 188;

  static bool IsAreaCode(unsigned char lead, unsigned char trail) {
    return lead >= 0xF0 && lead <= 0xF9 && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
  }

  // The code of a character, given one when it has none yet; 0 when the area is full (the
  // character is then counted among those that found no code).
  std::uint16_t CodeFor(char32_t c);
  // The character of a code; 0 when the code is none of this table's.
  char32_t CharOf(unsigned char lead, unsigned char trail) const;
  char32_t CharOf(std::uint16_t code) const { return CharOf(code >> 8, code & 0xFF); }

  std::size_t size() const { return chars_.size(); }
  bool empty() const { return chars_.empty(); }
  // Distinct characters that asked for a code when none was left.
  std::size_t overflow() const { return overflow_.size(); }

 private:
  std::vector<char32_t> chars_;  // by the code's place in the area
  std::unordered_map<char32_t, std::uint16_t> codes_;
  std::unordered_set<char32_t> overflow_;
};

}  // namespace quillet
