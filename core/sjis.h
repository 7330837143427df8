#pragma once
// Byte rules of Shift-JIS (code page 932) text and of file names written in it.
// A double-byte character is a lead byte followed by any trail byte; the trail byte may
// be 0x5C ("\") or 0x7C ("|"), so every scan walks characters, never raw bytes.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// True for the first byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool IsLeadByte(char c) { return IsLeadByte(static_cast<unsigned char>(c)); }

// Length in bytes of the character that starts at text[i] (1 or 2; 1 for a lead byte
// cut off at the end of the text).
std::size_t CharLength(std::string_view text, std::size_t i);

// Replaces the extension of a file name (the last "." after the last "\" or ":"), or
// appends ext when the name has none. ext includes its dot, e.g. ".bak".
std::string ChangeFileExt(std::string_view name, std::string_view ext);

// The directory part of a file name: up to and including the last "\" or ":".
std::string ExtractFilePath(std::string_view name);

// The file name without its directory part.
std::string ExtractFileName(std::string_view name);

// The n-th field (from 1) of text split at a one-byte separator; empty when there are
// fewer fields. Fields are split at bytes, as the settings files store them.
std::string GetField(std::string_view text, char separator, int n);

// The longest prefix of text of at most n bytes that does not split a double-byte
// character.
std::string_view CutToBytes(std::string_view text, std::size_t n);

// File names are equal when equal without regard to ASCII letter case.
bool SameFileName(std::string_view a, std::string_view b);

// Equal texts when ASCII letters are compared without case; double-byte characters
// (whose trail byte may be an ASCII letter's) compare exactly.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// True when the first bytes of text are those of prefix, compared exactly.
bool StartsWith(std::string_view text, std::string_view prefix);

// The text without the blanks and tabs around it (never a byte of a double-byte character).
std::string_view Trimmed(std::string_view text);

}  // namespace quillet
