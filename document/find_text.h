#pragma once
// The texts of finding and replacing: what the Find and Replace dialogs keep, and what
// the user is told.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// The longest text the dialogs keep, in bytes.
inline constexpr std::size_t kFindTextLimit = 255;

// A text as the dialogs keep it: at most its first 255 bytes, never ending in half a
// double-byte character (a text cut elsewhere may bring one).
std::string DialogFindText(std::string_view text);

// "文字列 '" + text + "' は見つかりませんでした。"
std::string NotFoundMessage(std::string_view find_text);
// count + "個の文字列を置換しました。"
std::string ReplacedMessage(int count);
// A single replacement with no occurrence left after the selection.
inline constexpr const char* kNoMoreMessage = "文字列はもうありません。";

}  // namespace quillet
