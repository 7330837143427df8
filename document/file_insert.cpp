#include "document/file_insert.h"

namespace quillet {

InsertionText TextForInsertion(std::string_view bytes) {
  InsertionText out;
  out.text.reserve(bytes.size() + bytes.size() / 16 + 4);
  std::size_t i = 0;
  while (i < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", i);
    if (end == std::string_view::npos) end = bytes.size();
    out.text.append(bytes.substr(i, end - i));
    out.text += "\r\n";
    bool crlf = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
    i = end + (crlf ? 2 : 1);
  }
  out.block_size = out.text.size();
  out.text += "\r\n";
  return out;
}

bool IntoDocumentCodes(std::string_view text, const ForeignChars& from, Encoding into, ForeignChars& into_chars,
                       std::string& out, Unholdable& refused) {
  out.clear();
  out.reserve(text.size());
  std::size_t copied = 0;  // text up to here is in out
  for (TextWalker walk(text); !walk.done(); walk.Next()) {
    std::uint16_t code = walk.Code();
    char32_t c = code >= 0xF000 ? from.CharOf(code) : 0;
    if (c == 0) continue;
    std::uint16_t own = CanHold(into, c) ? into_chars.CodeFor(c) : 0;
    if (own == 0) {
      refused = walk.Here(code, c);
      return false;
    }
    out.append(text.substr(copied, walk.pos() - copied));
    out += static_cast<char>(own >> 8);
    out += static_cast<char>(own & 0xFF);
    copied = walk.pos() + 2;
  }
  out.append(text.substr(copied));
  return true;
}

}  // namespace quillet
