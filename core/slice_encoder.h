#pragma once
// The editor's text written in a file's coding a slice at a time, so that a save can
// write each slice while it makes the next: converting a 10 MB document then costs
// little more than writing it. Slices end at line breaks; ISO-2022-JP, whose lines carry
// their escapes from one to the next, is made in one slice.
#include <cstddef>
#include <string_view>

#include "core/code_page_932.h"
#include "core/foreign_chars.h"
#include "core/iso2022_jp.h"
#include "core/text_block_writer.h"
#include "core/text_encode.h"
#include "core/text_encoding.h"

namespace quillet {

class SliceEncoder {
 public:
  // The text in its two pieces round the editor's gap; everything given must outlive the
  // encoder. slice_bytes: about how much of the text one slice takes.
  SliceEncoder(std::string_view first, std::string_view second, const FileCoding& coding,
               const CodePage932& code_page, const ForeignChars& chars, const JisLineForms* jis_forms,
               std::size_t slice_bytes);

  // The next slice's bytes, empty after the last; they stay valid through the next call
  // (while one slice is written the next is made). False when a character the coding cannot hold stops the writing:
  // bad() then tells which and where in the whole text.
  bool Next(std::string_view& bytes);
  const Unholdable& bad() const { return bad_; }

 private:
  // The text's bytes in [begin, end), as one or two views round the gap.
  std::string_view Part(std::size_t begin, std::size_t end, std::string_view& rest) const;
  // The end of the slice that starts at begin: after the first line break past its size.
  std::size_t SliceEnd(std::size_t begin) const;
  char At(std::size_t pos) const { return pos < first_.size() ? first_[pos] : second_[pos - first_.size()]; }

  std::string_view first_, second_;
  FileCoding coding_;
  const CodePage932& code_page_;
  const ForeignChars& chars_;
  const JisLineForms* jis_forms_;
  std::size_t slice_bytes_;
  std::size_t done_ = 0;  // text encoded so far
  BlockWriter writers_[2];
  int turn_ = 0;
  Unholdable bad_;
};

}  // namespace quillet
