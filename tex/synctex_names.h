#pragma once
// Which of the files SyncTeX data names is the caller's source. The engines write names
// in their own code (pLaTeX: EUC-JP on Linux, Shift-JIS on Windows; upLaTeX: UTF-8),
// relative to the folder they ran in or full, with "/" or "\".
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page_932.h"
#include "tex/synctex_file.h"

namespace quillet {

// A name in Shift-JIS made comparable: full (a relative name is taken from folder), "\"
// between parts, "." parts dropped and ".." parts resolved. name is Shift-JIS, or UTF-8
// when it reads as UTF-8.
std::string SynctexComparableName(std::string_view name, std::string_view folder, const CodePage932& code_page);

// The tags of data's inputs that name source (its full name) in any of those codes,
// relative names taken from folder (that of the data); letters compared without case.
std::vector<std::int32_t> SynctexTagsOf(const SynctexData& data, std::string_view source, std::string_view folder,
                                        const CodePage932& code_page);

}  // namespace quillet
