#include "core/text_lines.h"

#include "core/byte_scan.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

// Calls found(offset of the byte after each LF) for the text piece and answers whether
// every break in it is CR LF. Words without CR or LF are skipped eight bytes at a time.
template <typename F>
bool ScanBreaks(std::string_view text, std::size_t base, F found) {
  const char* p = text.data();
  std::size_t n = text.size();
  bool crlf_only = true;
  for (std::size_t i = 0; i < n;) {
    if (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if (!WordHasByte(word, '\n') && !WordHasByte(word, '\r')) {
        i += 8;
        continue;
      }
    }
    for (std::size_t stop = std::min(n, i + 8); i < stop; ++i) {
      if (p[i] == '\n') {
        found(base + i + 1);
        if (i == 0 || p[i - 1] != '\r') crlf_only = false;
      } else if (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n')) {
        crlf_only = false;
      }
    }
  }
  return crlf_only;
}

}  // namespace

bool LineIndex::Reset(std::string_view text) {
  starts_.clear();
  bool crlf_only = ScanBreaks(text, 0, [this](std::size_t pos) { starts_.push_back(static_cast<std::uint32_t>(pos)); });
  starts_.shrink_to_fit();
  gap_begin_ = gap_end_ = starts_.size();
  return crlf_only;
}

void LineIndex::Adopt(std::vector<std::uint32_t> starts) {
  starts_ = std::move(starts);
  gap_begin_ = gap_end_ = starts_.size();
}

std::size_t LineIndex::Start(std::size_t k, std::size_t text_size) const {
  return k < gap_begin_ ? starts_[k] : text_size - starts_[k + gap_length()];
}

std::size_t LineIndex::CountUpTo(std::size_t pos, std::size_t text_size) const {
  auto front_end = starts_.begin() + static_cast<std::ptrdiff_t>(gap_begin_);
  if (gap_begin_ > 0 && starts_[gap_begin_ - 1] > pos) {
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), front_end, pos) - starts_.begin());
  }
  // Behind the gap the stored distances fall as positions rise.
  if (pos > text_size) pos = text_size;
  std::uint32_t distance = static_cast<std::uint32_t>(text_size - pos);
  auto back_begin = starts_.begin() + static_cast<std::ptrdiff_t>(gap_end_);
  auto first_after = std::upper_bound(back_begin, starts_.end(), distance, std::greater<std::uint32_t>());
  return gap_begin_ + static_cast<std::size_t>(first_after - back_begin);
}

void LineIndex::MoveGapTo(std::size_t k, std::size_t text_size) {
  while (gap_begin_ > k) {
    --gap_begin_;
    --gap_end_;
    starts_[gap_end_] = static_cast<std::uint32_t>(text_size - starts_[gap_begin_]);
  }
  while (gap_begin_ < k) {
    starts_[gap_begin_] = static_cast<std::uint32_t>(text_size - starts_[gap_end_]);
    ++gap_begin_;
    ++gap_end_;
  }
}

void LineIndex::MakeRoom(std::size_t n) {
  if (gap_length() >= n) return;
  std::size_t back = starts_.size() - gap_end_;
  std::size_t grown = starts_.size() - gap_length() + n;
  grown += std::max<std::size_t>(grown / 8, 256);
  std::vector<std::uint32_t> fresh(grown);
  std::copy_n(starts_.begin(), gap_begin_, fresh.begin());
  std::copy_n(starts_.begin() + static_cast<std::ptrdiff_t>(gap_end_), back, fresh.end() - static_cast<std::ptrdiff_t>(back));
  starts_ = std::move(fresh);
  gap_end_ = grown - back;
}

void LineIndex::Replace(std::size_t pos, std::size_t removed, std::string_view inserted, std::size_t old_size) {
  // Starts at or before pos stay in front; the starts inside the removed range are the
  // first ones behind the gap and are dropped.
  MoveGapTo(CountUpTo(pos, old_size), old_size);
  std::size_t dropped = CountUpTo(pos + removed, old_size) - gap_begin_;
  gap_end_ += dropped;
  std::size_t added = static_cast<std::size_t>(std::count(inserted.begin(), inserted.end(), '\n'));
  if (added == 0) return;
  MakeRoom(added);
  ScanBreaks(inserted, pos, [this](std::size_t start) { starts_[gap_begin_++] = static_cast<std::uint32_t>(start); });
}

}  // namespace quillet
