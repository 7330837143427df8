#include "document/find_text.h"

#include "core/sjis.h"

namespace quillet {

std::string DialogFindText(std::string_view text) {
  std::string_view cut = CutToBytes(text, kFindTextLimit);
  std::size_t end = 0;
  while (end < cut.size()) {
    std::size_t length = CharLength(cut, end);
    if (length == 1 && IsLeadByte(cut[end]) && end + 1 == cut.size()) break;  // a lead byte alone
    end += length;
  }
  return std::string(cut.substr(0, end));
}

std::string NotFoundMessage(std::string_view find_text) {
  return "文字列 '" + std::string(find_text) + "' は見つかりませんでした。";
}

std::string ReplacedMessage(int count) { return std::to_string(count) + "個の文字列を置換しました。"; }

}  // namespace quillet
