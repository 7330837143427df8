#include "core/slice_encoder.h"

#include <string>

namespace quillet {

SliceEncoder::SliceEncoder(std::string_view first, std::string_view second, const FileCoding& coding,
                           const CodePage932& code_page, const ForeignChars& chars, const JisLineForms* jis_forms,
                           std::size_t slice_bytes)
    : first_(first),
      second_(second),
      coding_(coding),
      code_page_(code_page),
      chars_(chars),
      jis_forms_(jis_forms),
      slice_bytes_(coding.encoding == Encoding::kIso2022Jp ? first.size() + second.size() : slice_bytes),
      // Room for a slice of Japanese in UTF-8, half as long again as its Shift-JIS.
      writers_{BlockWriter(slice_bytes_ * 3 / 2), BlockWriter(slice_bytes_ * 3 / 2)} {}

std::size_t SliceEncoder::SliceEnd(std::size_t begin) const {
  std::size_t size = first_.size() + second_.size();
  std::size_t pos = begin + slice_bytes_;
  if (pos >= size) return size;
  // Past the next CR LF: no character and no break is ever cut in two.
  while (pos + 1 < size && !(At(pos) == '\r' && At(pos + 1) == '\n')) ++pos;
  return pos + 1 < size ? pos + 2 : size;
}

std::string_view SliceEncoder::Part(std::size_t begin, std::size_t end, std::string_view& rest) const {
  std::size_t split = first_.size();
  if (end <= split) {
    rest = {};
    return first_.substr(begin, end - begin);
  }
  if (begin >= split) {
    rest = {};
    return second_.substr(begin - split, end - begin);
  }
  rest = second_.substr(0, end - split);
  return first_.substr(begin);
}

bool SliceEncoder::Next(std::string_view& bytes) {
  std::size_t size = first_.size() + second_.size();
  if (done_ == size && (done_ != 0 || turn_ != 0 || !coding_.bom)) {
    bytes = {};
    return true;
  }
  std::size_t end = SliceEnd(done_);
  std::string_view rest;
  std::string_view part = Part(done_, end, rest);
  FileCoding coding = coding_;
  coding.bom = coding_.bom && done_ == 0;
  BlockWriter& out = writers_[turn_ % 2];
  out.Truncate(0);
  if (!EncodeText(part, rest, coding, code_page_, chars_, jis_forms_, out, bad_)) {
    // Found again over the whole text, for its place.
    std::string whole(first_);
    whole.append(second_);
    BlockWriter scratch(0);
    EncodeText(whole, coding_, code_page_, chars_, jis_forms_, scratch, bad_);
    return false;
  }
  ++turn_;
  done_ = end;
  bytes = out.Since(0);
  return true;
}

}  // namespace quillet
