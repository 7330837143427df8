#pragma once
// SyncTeX data as the engines leave it: plain text (.synctex) or gzip-compressed
// (.synctex.gz, the default of -synctex=1).
#include <string>
#include <string_view>

namespace quillet {

// The data's text: the bytes inflated when they start with the gzip mark, else the bytes
// themselves. False when compressed data is damaged or would grow past max_size.
bool SynctexText(std::string_view file_bytes, std::string& text, std::size_t max_size = std::size_t{1} << 30);

}  // namespace quillet
