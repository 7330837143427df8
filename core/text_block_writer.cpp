#include "core/text_block_writer.h"

namespace quillet {

BlockWriter::BlockWriter(std::size_t expected) {
  block_.capacity = GapText::CapacityFor(expected);
  block_.data.reset(new char[block_.capacity]);  // not zeroed: every byte is written first
}

void BlockWriter::Grow(std::size_t more) {
  std::size_t capacity = GapText::CapacityFor(size_ + more + size_ / 2);
  std::unique_ptr<char[]> data(new char[capacity]);
  std::memcpy(data.get(), block_.data.get(), size_);
  block_.data = std::move(data);
  block_.capacity = capacity;
}

TextBlock BlockWriter::Finish() {
  block_.size = size_;
  size_ = 0;
  return std::move(block_);
}

}  // namespace quillet
