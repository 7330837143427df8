#pragma once
// Which of the files SyncTeX data names is the caller's source. The engines write names
// in their own code (pLaTeX: EUC-JP on Linux, Shift-JIS on Windows; upLaTeX: UTF-8),
// relative to the folder they ran in or full, with "/" or "\".
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page_932.h"
#include "core/text_encoding.h"
#include "tex/synctex_file.h"

namespace quillet {

// The code of one part of a name (between "/"): under Wine pLaTeX writes its EUC-JP file
// name after the UTF-8 folder it ran in, so a name as a whole may be in no code at all.
// UTF-8 when it reads as UTF-8, else EUC-JP when it reads as EUC-JP, else Shift-JIS.
Encoding SynctexPartEncoding(std::string_view part);

// A name in Shift-JIS made comparable: full (a relative name is taken from folder), "\"
// between parts, "." parts dropped and ".." parts resolved. name is Shift-JIS, or UTF-8
// when it reads as UTF-8.
std::string SynctexComparableName(std::string_view name, std::string_view folder, const CodePage932& code_page);

// The tags of data's inputs that name source (its full name) in any of those codes,
// relative names taken from folder (that of the data); letters compared without case. A
// full Unix name (the engine ran under Wine, where it sees the drive's folder, not the
// drive) names a source "X:\PATH" when it ends in "\PATH".
std::vector<std::int32_t> SynctexTagsOf(const SynctexData& data, std::string_view source, std::string_view folder,
                                        const CodePage932& code_page);

}  // namespace quillet
