#pragma once
// Icon files (.ico) for the program's resources, written from the pictures the program
// draws, so Explorer, the Start menu and .tex files show the icons its windows show.
#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

// A square picture: BGRA pixels with straight (not premultiplied) alpha, top row first.
struct IconPicture {
  int size = 0;
  std::vector<std::uint32_t> pixels;
};

// A premultiplied BGRA pixel with straight alpha, as icons take it.
std::uint32_t StraightAlphaPixel(std::uint32_t premultiplied);

// The bytes of an .ico file holding each picture as a 32-bit image with its mask (set
// where the picture is fully transparent). Sizes from 1 to 256.
std::string IconFileBytes(const std::vector<IconPicture>& pictures);

}  // namespace quillet
