#include "artwork/icon_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace quillet {
namespace {

std::uint32_t U32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}
std::uint32_t U16(const std::string& b, std::size_t at) { return U32(b + std::string(2, '\0'), at) & 0xFFFF; }

// What a reader of the file finds: its directory, each image where the directory says,
// the colour rows bottom-up and the mask set only where a pixel is fully transparent.
TEST(IconFileTest, EachPictureIsFoundWhereTheDirectorySaysWithItsMask) {
  const std::uint32_t red = 0xFFFF0000u, clear = 0x00000000u, half = 0x80102030u;
  IconPicture two{2, {red, clear, half, red}}, big{256, std::vector<std::uint32_t>(256 * 256, red)};
  std::string file = IconFileBytes({two, big});
  ASSERT_EQ(U16(file, 2), 1u);  // an icon
  ASSERT_EQ(U16(file, 4), 2u);
  EXPECT_EQ(file[6], 2);
  EXPECT_EQ(file[6 + 16], 0);  // 256 is written as 0
  std::uint32_t at = U32(file, 6 + 12), size = U32(file, 6 + 8);
  EXPECT_EQ(at, 6u + 2 * 16);
  EXPECT_EQ(U32(file, 6 + 16 + 12), at + size);
  EXPECT_EQ(U32(file, 6 + 16 + 12) + U32(file, 6 + 16 + 8), file.size());
  EXPECT_EQ(U32(file, at + 4), 2u);
  EXPECT_EQ(U32(file, at + 8), 4u);  // colour and mask
  EXPECT_EQ(U16(file, at + 14), 32u);
  std::uint32_t rows = at + 40;
  EXPECT_EQ(U32(file, rows), half);  // the bottom row first
  EXPECT_EQ(U32(file, rows + 4), red);
  EXPECT_EQ(U32(file, rows + 8), red);
  EXPECT_EQ(U32(file, rows + 12), clear);
  std::uint32_t mask = rows + 16;  // rows of four bytes, bottom-up
  EXPECT_EQ(static_cast<unsigned char>(file[mask]), 0x00);
  EXPECT_EQ(static_cast<unsigned char>(file[mask + 4]), 0x40);
  EXPECT_EQ(size, 40u + 16 + 8);
}

TEST(IconFileTest, PremultipliedPixelsGetStraightAlpha) {
  struct Row { std::uint32_t premultiplied, straight; } rows[] = {
      {0xFF123456u, 0xFF123456u}, {0x80402010u, 0x80804020u}, {0x00000000u, 0x00000000u}, {0x01010101u, 0x01FFFFFFu},
  };
  for (auto r : rows) EXPECT_EQ(StraightAlphaPixel(r.premultiplied), r.straight) << std::hex << r.premultiplied;
}

}  // namespace
}  // namespace quillet
