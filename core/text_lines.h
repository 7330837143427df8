#pragma once
// Where the lines of a text start, kept through edits without shifting the whole list:
// the starts of lines 1..n (line 0 starts at 0) live in an array with a gap. Entries
// before the gap hold their position; entries after it hold their distance from the end
// of the text, which an edit before them does not change. The gap follows the edits.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillet {

class LineIndex {
 public:
  // Rebuilds the list from the LFs of a text and answers whether its breaks are all
  // CR LF (when not, the caller normalises the text and rebuilds).
  bool Reset(std::string_view text);
  // Takes the list as a reader that wrote the text found it (breaks all CR LF).
  void Adopt(std::vector<std::uint32_t> starts);

  // Number of line starts after position 0 (= number of line breaks).
  std::size_t breaks() const { return starts_.size() - gap_length(); }
  // Start of line k + 1 (k < breaks()) in a text of length text_size.
  std::size_t Start(std::size_t k, std::size_t text_size) const;
  // Number of line starts at or before pos (so the 0-based line that holds pos).
  std::size_t CountUpTo(std::size_t pos, std::size_t text_size) const;

  // Records the replacement of [pos, pos + removed) by inserted (whose breaks are
  // CR LF) in a text that was old_size long.
  void Replace(std::size_t pos, std::size_t removed, std::string_view inserted, std::size_t old_size);

  std::size_t MemoryBytes() const { return starts_.capacity() * sizeof(std::uint32_t); }

 private:
  std::size_t gap_length() const { return gap_end_ - gap_begin_; }
  void MoveGapTo(std::size_t k, std::size_t text_size);
  void MakeRoom(std::size_t n);

  std::vector<std::uint32_t> starts_;
  std::size_t gap_begin_ = 0;
  std::size_t gap_end_ = 0;
};

}  // namespace quillet
