#include "win/code_page_win.h"

#include <windows.h>

#include <algorithm>

namespace quillet {

namespace {

char32_t DecodeCode(std::uint16_t code) {
  char bytes[2];
  int n = 0;
  if (code >= 0x100) bytes[n++] = static_cast<char>(code >> 8);
  bytes[n++] = static_cast<char>(code & 0xFF);
  WCHAR wide[2];
  // Strict: a code the table has no character for fails instead of giving the default.
  int got = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, n, wide, 2);
  return got == 1 ? wide[0] : 0;
}

std::uint16_t PreferredCode(char32_t c) {
  WCHAR wide = static_cast<WCHAR>(c);
  char bytes[2];
  BOOL defaulted = FALSE;
  int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, 2, nullptr, &defaulted);
  if (defaulted || n < 1) return kNoCode;
  return n == 1 ? static_cast<unsigned char>(bytes[0])
                : static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]));
}

}  // namespace

const CodePage932& SystemCodePage() {
  static const CodePage932 code_page(DecodeCode, PreferredCode);
  return code_page;
}

std::wstring WideFromUtf8(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string AnsiFromWide(const wchar_t* wide) {
  int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(std::max(n, 1)), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), n, nullptr, nullptr);
  text.resize(text.size() - 1);  // the terminating null
  return text;
}

}  // namespace quillet
