#include "artwork/icon_file.h"

#include <algorithm>

namespace quillet {

namespace {

void PutU16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

// Rows of the one-bit mask are padded to four bytes.
std::size_t MaskStride(int size) { return static_cast<std::size_t>((size + 31) / 32) * 4; }

// One picture as the file stores it: a bitmap header (twice the height: the colour
// rows, then the mask rows), the colour rows bottom-up, the mask rows bottom-up.
std::string ImageBytes(const IconPicture& picture) {
  const int n = picture.size;
  std::string out;
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(n));
  PutU32(out, static_cast<std::uint32_t>(2 * n));
  PutU16(out, 1);   // planes
  PutU16(out, 32);  // bits per pixel
  for (int i = 0; i < 6; ++i) PutU32(out, 0);  // no compression; sizes and palette unused
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) PutU32(out, picture.pixels[static_cast<std::size_t>(y) * n + x]);
  }
  const std::size_t stride = MaskStride(n);
  for (int y = n - 1; y >= 0; --y) {
    std::string row(stride, '\0');
    for (int x = 0; x < n; ++x) {
      if ((picture.pixels[static_cast<std::size_t>(y) * n + x] >> 24) == 0) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
    }
    out += row;
  }
  return out;
}

}  // namespace

std::uint32_t StraightAlphaPixel(std::uint32_t p) {
  std::uint32_t a = p >> 24, straight = p & 0xFF000000u;
  for (int c = 0; c < 3; ++c) {
    std::uint32_t v = (p >> (8 * c)) & 0xFF;
    straight |= (a ? std::min<std::uint32_t>(255, (v * 255 + a / 2) / a) : 0) << (8 * c);
  }
  return straight;
}

std::string IconFileBytes(const std::vector<IconPicture>& pictures) {
  std::string out;
  PutU16(out, 0);
  PutU16(out, 1);  // an icon, not a cursor
  PutU16(out, static_cast<std::uint32_t>(pictures.size()));
  std::vector<std::string> images;
  for (const IconPicture& picture : pictures) images.push_back(ImageBytes(picture));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const int n = pictures[i].size;
    out += static_cast<char>(n == 256 ? 0 : n);  // width; 0 means 256
    out += static_cast<char>(n == 256 ? 0 : n);  // height
    out += '\0';                                  // no palette
    out += '\0';
    PutU16(out, 1);   // planes
    PutU16(out, 32);  // bits per pixel
    PutU32(out, static_cast<std::uint32_t>(images[i].size()));
    PutU32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::string& image : images) out += image;
  return out;
}

}  // namespace quillet
