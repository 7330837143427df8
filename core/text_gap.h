#pragma once
// A byte array with a movable gap: inserting or erasing at the gap costs the size of the
// change, moving the gap costs the distance moved. Edits cluster round the caret, so
// typing never touches the rest of the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Bytes read straight into memory that the gap text can take over without a copy.
struct TextBlock {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
  std::size_t capacity = 0;  // at least size
  // Filled by a reader that wrote the text itself (converting a file): where each line
  // after the first starts, every break being CR LF; the editor then needs no pass over
  // the text to find its lines.
  std::vector<std::uint32_t> line_starts{};
  bool lines_counted = false;
};

class GapText {
 public:
  std::size_t size() const { return capacity_ - gap_length(); }
  std::size_t capacity() const { return capacity_; }
  char operator[](std::size_t i) const { return i < gap_begin_ ? data_[i] : data_[i + gap_length()]; }

  // Replaces the whole content with n bytes that the caller writes through the returned
  // pointer (no copy of a temporary string for big loads).
  char* Reset(std::size_t n);
  // Takes over a block as the whole content.
  void Adopt(TextBlock block);
  // The capacity a text of n bytes is given (its room to grow before a reallocation).
  static std::size_t CapacityFor(std::size_t n) { return n + Slack(n); }
  void Insert(std::size_t pos, std::string_view bytes);
  void Erase(std::size_t pos, std::size_t n);
  // Copies [pos, pos + n) to out.
  void CopyOut(std::size_t pos, std::size_t n, char* out) const;
  std::string Substr(std::size_t pos, std::size_t n) const;

  // The bytes before the gap (all of them right after Reset), for scans that want plain
  // memory.
  std::string_view Front() const { return {data_.get(), gap_begin_}; }
  // The bytes after the gap: Front() and Back() together are the whole content.
  std::string_view Back() const { return {data_.get() + gap_end_, capacity_ - gap_end_}; }

 private:
  std::size_t gap_length() const { return gap_end_ - gap_begin_; }
  void MoveGap(std::size_t pos);
  void Reallocate(std::size_t new_capacity);
  static std::size_t Slack(std::size_t size);

  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0;
  std::size_t gap_begin_ = 0;
  std::size_t gap_end_ = 0;
};

}  // namespace quillet
