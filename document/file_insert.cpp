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

}  // namespace quillet
