#pragma once
// The text a file contributes when it is inserted at the caret: its lines, each ended by
// CR LF (a line may end in CR, LF or CR LF in the file, and the last one may end in
// nothing), then one more CR LF so an empty line follows the block.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/foreign_chars.h"
#include "core/text_encode.h"
#include "core/text_encoding.h"

namespace quillet {

struct InsertionText {
  std::string text;        // what goes into the document
  std::size_t block_size;  // the inserted lines without the final empty line
};

InsertionText TextForInsertion(std::string_view file_bytes);

// A file's text, read in its own coding (its characters without a Shift-JIS code in
// from), in the codes of the document it goes into: each such character takes the
// document's own code when the document's encoding can hold it. False, with the first
// character it cannot hold and where it stands in the file, when there is one: then
// nothing is inserted.
bool IntoDocumentCodes(std::string_view text, const ForeignChars& from, Encoding into, ForeignChars& into_chars,
                       std::string& out, Unholdable& refused);

}  // namespace quillet
