#pragma once
// SyncTeX data as the stock SyncTeX library (that of the viewers on Linux) reads it right.
// That library hands a viewer the input's name exactly as the data writes it, and places
// every box as horizontal material; pTeX's vertical (tate) material it would put in the
// wrong place.
#include <string>
#include <string_view>

#include "core/code_page_932.h"

namespace quillet {

// The data's text with each input named by its full Unix name in UTF-8 ("/" between
// parts, no "." or ".." part; a relative name taken from folder, a full Unix name in
// UTF-8), and each vertical box and record (v < 0) written as the horizontal one that
// covers the same place on the page. Other lines come through unchanged.
std::string SynctexStockCopy(std::string_view text, std::string_view folder, const CodePage932& code_page);

}  // namespace quillet
