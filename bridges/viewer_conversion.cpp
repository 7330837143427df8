#include "bridges/viewer_conversion.h"

#include <algorithm>
#include <vector>

#include "core/utf8.h"

namespace quillet {

namespace {

// Words with which dvipdfmx, kpathsea and the shell tell of what went wrong.
constexpr std::string_view kErrorWords[] = {"error", "fatal", "could not", "cannot", "can't",
                                            "unable", "not found", "no such"};

bool TellsOfError(std::string_view line) {
  std::string lower(line);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return std::any_of(std::begin(kErrorWords), std::end(kErrorWords),
                     [&](std::string_view word) { return lower.find(word) != std::string::npos; });
}

std::vector<std::string_view> NonBlankLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t") != std::string_view::npos) lines.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return lines;
}

}  // namespace

std::string ConverterErrorLines(std::string_view messages, std::size_t most) {
  std::vector<std::string_view> lines = NonBlankLines(messages), chosen;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(chosen), TellsOfError);
  if (chosen.empty()) chosen.assign(lines.end() - static_cast<std::ptrdiff_t>(std::min(most, lines.size())), lines.end());
  chosen.resize(std::min(most, chosen.size()));
  std::string joined;
  for (std::string_view line : chosen) joined.append(line).append("\n");
  return joined;
}

std::string ShiftJisFromUtf8(std::string_view utf8, const CodePage932& code_page) {
  std::string out;
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    if (*p < 0x80) {
      out += static_cast<char>(*p++);
      continue;
    }
    Utf8Char c = ReadUtf8(p, end);
    std::uint16_t code = c.length ? code_page.CodeOf(c.c) : kNoCode;
    if (code == kNoCode) {
      out += '?';
    } else {
      if (code >= 0x100) out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    }
    p += c.length ? c.length : 1;
  }
  return out;
}

std::string ConversionFailedText(std::string_view converter, int status, std::string_view error_lines,
                                 std::string_view pdf) {
  std::string text(converter);
  text += status ? " でPDFを作れませんでした (終了ｺｰﾄﾞ " + std::to_string(status) + ")"
                 : std::string(" でPDFを作れませんでした (PDFが書かれていません)");
  text += error_lines.empty() ? "。\n" : ":\n";
  text.append(error_lines).append("PDFﾌｧｲﾙ ").append(pdf).append(" は前のままです。");
  return text;
}

}  // namespace quillet
