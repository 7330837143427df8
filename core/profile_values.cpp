#include "core/profile_values.h"

#include <cstdint>

#include "core/sjis.h"

namespace quillet {

std::string CutProfileString(std::string_view stored) {
  return std::string(CutToBytes(stored, kProfileStringLimit));
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Digits are taken while the value still fits: leading zeros add nothing, so any number
// of them is read as the platform's reader reads them.
bool ParseHex(std::string_view digits, int& out) {
  if (digits.empty()) return false;
  std::uint32_t value = 0;
  for (char c : digits) {
    int d = HexDigit(c);
    if (d < 0 || value > 0x0FFFFFFFu) return false;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  out = static_cast<int>(value);  // 0xFFFFFFFF reads as -1, as a 32-bit integer
  return true;
}

bool ParseDecimal(std::string_view text, int& out) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  out = static_cast<int>(negative ? -value : value);
  return true;
}

}  // namespace

int ParseProfileInt(std::string_view text, int def) {
  int value = def;
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  bool ok = hex ? ParseHex(text.substr(2), value) : ParseDecimal(text, value);
  return ok ? value : def;
}

bool ParseProfileBool(std::string_view text, bool def) { return ParseProfileInt(text, def ? 1 : 0) != 0; }

std::string FormatProfileInt(int value) { return std::to_string(value); }

int ParseFontSize(std::string_view text, int def) { return ParseProfileInt(text, def); }

}  // namespace quillet
