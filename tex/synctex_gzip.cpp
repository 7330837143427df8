#include "tex/synctex_gzip.h"

#include <zlib.h>

#include <algorithm>

namespace quillet {

namespace {

bool Inflate(std::string_view bytes, std::string& text, std::size_t max_size) {
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 32) != Z_OK) return false;  // 32: gzip or zlib header
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  std::string out;
  // The gzip trailer's last four bytes give the size (modulo 4 GiB): one allocation.
  if (bytes.size() >= 18) {
    const auto* t = reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size() - 4);
    out.reserve(std::min<std::size_t>(t[0] | t[1] << 8 | t[2] << 16 | std::size_t{t[3]} << 24, max_size));
  }
  int result = Z_OK;
  while (result == Z_OK) {
    std::size_t done = out.size();
    if (done >= max_size) break;
    std::size_t room = out.capacity() > done ? out.capacity() - done : std::max<std::size_t>(bytes.size() * 4, 1 << 16);
    std::size_t step = std::min<std::size_t>(room, max_size - done);
    out.resize(done + step);
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + done);
    stream.avail_out = static_cast<uInt>(step);
    result = inflate(&stream, Z_NO_FLUSH);
    out.resize(done + step - stream.avail_out);
    if (result == Z_BUF_ERROR && stream.avail_out != 0) break;  // input ended early
    if (result == Z_BUF_ERROR) result = Z_OK;
  }
  inflateEnd(&stream);
  if (result != Z_STREAM_END) return false;
  text = std::move(out);
  return true;
}

}  // namespace

bool SynctexText(std::string_view file_bytes, std::string& text, std::size_t max_size) {
  if (file_bytes.size() >= 2 && static_cast<unsigned char>(file_bytes[0]) == 0x1F &&
      static_cast<unsigned char>(file_bytes[1]) == 0x8B) {
    if (file_bytes.size() > 0xFFFFFFFFu) return false;
    return Inflate(file_bytes, text, max_size);
  }
  if (file_bytes.size() > max_size) return false;
  text.assign(file_bytes);
  return true;
}

}  // namespace quillet
