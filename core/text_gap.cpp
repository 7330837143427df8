#include "core/text_gap.h"

#include <algorithm>
#include <cstring>

namespace quillet {

// Spare room kept after a reallocation: an eighth of the text, so growth stays amortised
// and memory stays well under twice the text.
std::size_t GapText::Slack(std::size_t size) { return std::max<std::size_t>(size / 8, 4096); }

char* GapText::Reset(std::size_t n) {
  std::size_t capacity = n + Slack(n);
  data_ = std::make_unique_for_overwrite<char[]>(capacity);
  capacity_ = capacity;
  gap_begin_ = n;
  gap_end_ = capacity;
  return data_.get();
}

void GapText::Adopt(TextBlock block) {
  data_ = std::move(block.data);
  capacity_ = block.capacity;
  gap_begin_ = block.size;
  gap_end_ = block.capacity;
}

void GapText::MoveGap(std::size_t pos) {
  char* d = data_.get();
  if (pos < gap_begin_) {
    std::size_t n = gap_begin_ - pos;
    std::memmove(d + gap_end_ - n, d + pos, n);
    gap_begin_ = pos;
    gap_end_ -= n;
  } else if (pos > gap_begin_) {
    std::size_t n = pos - gap_begin_;
    std::memmove(d + gap_begin_, d + gap_end_, n);
    gap_begin_ = pos;
    gap_end_ += n;
  }
}

void GapText::Reallocate(std::size_t new_capacity) {
  std::size_t back = capacity_ - gap_end_;
  auto fresh = std::make_unique_for_overwrite<char[]>(new_capacity);
  if (gap_begin_) std::memcpy(fresh.get(), data_.get(), gap_begin_);
  if (back) std::memcpy(fresh.get() + new_capacity - back, data_.get() + gap_end_, back);
  data_ = std::move(fresh);
  capacity_ = new_capacity;
  gap_end_ = new_capacity - back;
}

void GapText::Insert(std::size_t pos, std::string_view bytes) {
  if (bytes.empty()) return;
  if (gap_length() < bytes.size()) {
    std::size_t need = size() + bytes.size();
    Reallocate(need + Slack(need));
  }
  MoveGap(pos);
  std::memcpy(data_.get() + gap_begin_, bytes.data(), bytes.size());
  gap_begin_ += bytes.size();
}

void GapText::Erase(std::size_t pos, std::size_t n) {
  if (n == 0) return;
  MoveGap(pos);
  gap_end_ += n;
  // Give memory back after a large deletion.
  if (gap_length() > size() + 2 * Slack(size())) Reallocate(size() + Slack(size()));
}

void GapText::CopyOut(std::size_t pos, std::size_t n, char* out) const {
  const char* d = data_.get();
  std::size_t end = pos + n;
  if (pos < gap_begin_) {
    std::size_t front = std::min(end, gap_begin_) - pos;
    std::memcpy(out, d + pos, front);
    out += front;
    pos += front;
  }
  if (pos < end) std::memcpy(out, d + pos + gap_length(), end - pos);
}

std::string GapText::Substr(std::size_t pos, std::size_t n) const {
  std::string s(n, '\0');
  if (n) CopyOut(pos, n, s.data());
  return s;
}

}  // namespace quillet
