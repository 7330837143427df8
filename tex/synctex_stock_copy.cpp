#include "tex/synctex_stock_copy.h"

#include <charconv>
#include <cstdint>
#include <vector>

#include "core/text_decode.h"
#include "core/text_encode.h"
#include "core/text_encoding.h"
#include "tex/synctex_names.h"

namespace quillet {

namespace {

// A box or record line: its kind, "tag,line[,column]" as written, position and sizes.
struct NodeLine {
  char kind = 0;
  std::string_view head;
  std::int64_t h = 0, v = 0, width = 0, height = 0, depth = 0;
};

// How many sizes follow the position: 3 for boxes, 1 for kerns, 0 for other records,
// -1 for no node at all.
int SizesOf(char kind) {
  switch (kind) {
    case '[': case '(': case 'v': case 'h': return 3;
    case 'k': return 1;
    case 'x': case 'g': case '$': return 0;
    default: return -1;
  }
}

bool ReadInt(std::string_view text, std::size_t& i, std::int64_t& value) {
  std::int32_t read = 0;
  auto [p, ec] = std::from_chars(text.data() + i, text.data() + text.size(), read);
  if (ec != std::errc()) return false;
  i = static_cast<std::size_t>(p - text.data());
  value = read;
  return true;
}

bool Expect(std::string_view text, std::size_t& i, char c) {
  if (i >= text.size() || text[i] != c) return false;
  ++i;
  return true;
}

// A node line of vertical material (v < 0) read whole; false for anything else.
bool ReadVerticalNode(std::string_view line, NodeLine& node) {
  const int sizes = line.empty() ? -1 : SizesOf(line[0]);
  const std::size_t colon = line.find(':');
  if (sizes < 0 || colon == std::string_view::npos || colon < 2) return false;
  node.kind = line[0];
  node.head = line.substr(1, colon - 1);
  std::size_t i = colon + 1;
  if (!ReadInt(line, i, node.h) || !Expect(line, i, ',') || !ReadInt(line, i, node.v) || node.v >= 0) return false;
  if (sizes > 0 && (!Expect(line, i, ':') || !ReadInt(line, i, node.width))) return false;
  if (sizes > 1 && (!Expect(line, i, ',') || !ReadInt(line, i, node.height) || !Expect(line, i, ',') ||
                    !ReadInt(line, i, node.depth)))
    return false;
  return i == line.size();
}

void AppendInt(std::string& out, std::int64_t value) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}

// pTeX's vertical material stands at x = -v across the page and y = h along it: a box
// spans x from -v - depth to -v + height and y from h to h + width. The horizontal box
// over the same place has its baseline at the bottom edge. A kern runs along the line,
// which a horizontal kern cannot: it is kept as the point where it ends.
void AppendHorizontal(const NodeLine& node, std::string& out) {
  const bool box = SizesOf(node.kind) == 3;
  out += node.kind;
  out.append(node.head).append(":");
  AppendInt(out, -node.v - (box ? node.depth : 0));
  out += ',';
  AppendInt(out, node.h + (box ? node.width : 0));
  if (node.kind == 'k') out.append(":0");
  if (!box) return;
  out += ':';
  AppendInt(out, node.height + node.depth);
  out += ',';
  AppendInt(out, node.width);
  out.append(",0");
}

// The engines write names in UTF-8 (upLaTeX) or EUC-JP (pLaTeX on Linux), pLaTeX after
// a folder in the system's UTF-8: each part of a name is read in its own code.
std::string InUtf8(std::string_view part, const CodePage932& code_page) {
  if (IsValidUtf8(part)) return std::string(part);
  DecodedText decoded;
  DecodeText(part, SynctexPartEncoding(part), code_page, decoded);
  std::string utf8;
  Unholdable unholdable;
  const FileCoding coding{Encoding::kUtf8, false, LineEnd::kLf};
  std::string_view text(decoded.text.data.get(), decoded.text.size);
  if (!EncodeText(text, coding, code_page, decoded.chars, nullptr, utf8, unholdable)) return std::string(part);
  return utf8;
}

// "/" is no byte of a character in any of those codes.
std::string FullUnixName(std::string_view name, std::string_view folder, const CodePage932& code_page) {
  std::string joined;
  if (!name.starts_with('/')) joined.append(folder).append("/");
  joined.append(name);
  std::vector<std::string> kept;
  std::string_view rest = joined;
  while (!rest.empty()) {
    const std::size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    if (part == "..") {
      if (!kept.empty()) kept.pop_back();
    } else if (!part.empty() && part != ".") {
      kept.push_back(InUtf8(part, code_page));
    }
  }
  std::string full;
  for (const std::string& part : kept) full.append("/").append(part);
  return full;
}

// "Input:tag:name" with the name made full and UTF-8; false for any other line.
bool AppendInput(std::string_view line, std::string_view folder, const CodePage932& code_page, std::string& out) {
  constexpr std::string_view kInput = "Input:";
  if (!line.starts_with(kInput)) return false;
  const std::size_t colon = line.find(':', kInput.size());
  if (colon == std::string_view::npos) return false;
  out.append(line.substr(0, colon + 1));
  out.append(FullUnixName(line.substr(colon + 1), folder, code_page));
  return true;
}

}  // namespace

std::string SynctexStockCopy(std::string_view text, std::string_view folder, const CodePage932& code_page) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  NodeLine node;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    const std::string_view line = text.substr(0, eol);
    if (ReadVerticalNode(line, node)) {
      AppendHorizontal(node, out);
    } else if (!AppendInput(line, folder, code_page, out)) {
      out.append(line);
    }
    if (eol == std::string_view::npos) break;
    out += '\n';
    text.remove_prefix(eol + 1);
  }
  return out;
}

}  // namespace quillet
