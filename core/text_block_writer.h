#pragma once
// Builds an editor text (Shift-JIS, CR LF) straight into a block the editor takes over,
// growing it as needed: a 10 MB file is converted without a second copy.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/text_gap.h"

namespace quillet {

class BlockWriter {
 public:
  explicit BlockWriter(std::size_t expected);

  void Put(char c) {
    if (size_ == block_.capacity) Grow(1);
    block_.data[size_++] = c;
  }
  void Put(std::string_view bytes) {
    if (block_.capacity - size_ < bytes.size()) Grow(bytes.size());
    std::memcpy(block_.data.get() + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
  }
  // A code of one byte (below 0x100) or two.
  void PutCode(std::uint16_t code) {
    if (code >= 0x100) Put(static_cast<char>(code >> 8));
    Put(static_cast<char>(code & 0xFF));
  }
  void PutBreak() { Put("\r\n"); }

  // For tight loops: at least n bytes of room at the returned place, which the loop
  // writes through and hands back to Advance.
  char* Room(std::size_t n) {
    if (block_.capacity - size_ < n) Grow(n);
    return block_.data.get() + size_;
  }
  void Advance(const char* end) { size_ = static_cast<std::size_t>(end - block_.data.get()); }
  // Drops what was written after the first n bytes.
  void Truncate(std::size_t n) { size_ = n < size_ ? n : size_; }

  std::size_t size() const { return size_; }
  std::string_view Since(std::size_t pos) const { return {block_.data.get() + pos, size_ - pos}; }
  TextBlock Finish();

 private:
  void Grow(std::size_t more);

  TextBlock block_;
  std::size_t size_ = 0;
};

}  // namespace quillet
