#include "core/sjis.h"

namespace quillet {

std::size_t CharLength(std::string_view text, std::size_t i) {
  return IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
}

namespace {

// Position just after the last "\" or ":" (0 when there is none), stepping over
// double-byte characters whole.
std::size_t NameStart(std::string_view name) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '\\' || name[i] == ':') start = i + 1;
  }
  return start;
}

// Position of the extension's dot, or npos when the file part has none.
std::size_t ExtensionDot(std::string_view name) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = NameStart(name); i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '.') dot = i;
  }
  return dot;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string ChangeFileExt(std::string_view name, std::string_view ext) {
  std::size_t dot = ExtensionDot(name);
  std::string result(name.substr(0, dot == std::string_view::npos ? name.size() : dot));
  result += ext;
  return result;
}

std::string ExtractFilePath(std::string_view name) { return std::string(name.substr(0, NameStart(name))); }

std::string ExtractFileName(std::string_view name) { return std::string(name.substr(NameStart(name))); }

std::string GetField(std::string_view text, char separator, int n) {
  if (n < 1) return {};
  std::size_t begin = 0;
  for (int field = 1; field < n; ++field) {
    std::size_t sep = text.find(separator, begin);
    if (sep == std::string_view::npos) return {};
    begin = sep + 1;
  }
  std::size_t end = text.find(separator, begin);
  return std::string(text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
}

std::string_view CutToBytes(std::string_view text, std::size_t n) {
  if (text.size() <= n) return text;
  std::size_t i = 0;
  while (i < n) {
    std::size_t len = CharLength(text, i);
    if (i + len > n) break;
    i += len;
  }
  return text.substr(0, i);
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    // A trail byte may look like an ASCII letter; double-byte characters compare exactly.
    if (IsLeadByte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

bool SameFileName(std::string_view a, std::string_view b) { return SameIgnoringAsciiCase(a, b); }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string_view Trimmed(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t");
  return begin == std::string_view::npos ? std::string_view() : text.substr(begin, end - begin + 1);
}

}  // namespace quillet
