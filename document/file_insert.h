#pragma once
// The text a file contributes when it is inserted at the caret: its lines, each ended by
// CR LF (a line may end in CR, LF or CR LF in the file, and the last one may end in
// nothing), then one more CR LF so an empty line follows the block.
#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

struct InsertionText {
  std::string text;        // what goes into the document
  std::size_t block_size;  // the inserted lines without the final empty line
};

InsertionText TextForInsertion(std::string_view file_bytes);

}  // namespace quillet
