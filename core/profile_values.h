#pragma once
// How values of the settings files are read and written: strings cut at 1023 bytes,
// integers in decimal or "0x" hexadecimal, booleans as non-zero integers.
#include <string>
#include <string_view>

namespace quillet {

// Longest string value a read returns, in bytes.
constexpr std::size_t kProfileStringLimit = 1023;

// The stored value as read: at most 1023 bytes, never ending in half a double-byte
// character.
std::string CutProfileString(std::string_view stored);

// "0x1F"/"0X1F" (longer than two characters) is hexadecimal, anything else a signed
// decimal number (leading zeros count for nothing); a value that does not parse or
// does not fit 32 bits gives def.
int ParseProfileInt(std::string_view text, int def);

// Any non-zero integer is true; a value that does not parse gives def.
bool ParseProfileBool(std::string_view text, bool def);

std::string FormatProfileInt(int value);
inline std::string FormatProfileBool(bool value) { return value ? "1" : "0"; }

// The number in a font-size text such as "10", or def when the text is not a number.
int ParseFontSize(std::string_view text, int def = 10);

constexpr int Clamp(int value, int lo, int hi) { return value < lo ? lo : value > hi ? hi : value; }

}  // namespace quillet
