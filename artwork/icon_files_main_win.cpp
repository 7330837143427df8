// quillet-icons FOLDER: writes the program's icon files, Quillet.ico and
// quillet-document.ico, drawn by the same code as the windows' icons. The build embeds
// the files kept in artwork/ in Quillet.exe; tools/make-icons makes them again after the
// pictures change.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "artwork/artwork_win.h"
#include "artwork/icon_file.h"
#include "win/file_io_win.h"

namespace {

using quillet::ArtImage;

// The sizes Explorer, the Start menu and the task bar ask for.
constexpr int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 128};

quillet::IconPicture Picture(const ArtImage& image) {
  quillet::IconPicture picture{image.width, {}};
  for (std::uint32_t p : image.pixels) picture.pixels.push_back(quillet::StraightAlphaPixel(p));
  return picture;
}

bool WriteIcon(const std::string& path, ArtImage (*draw)(int)) {
  std::vector<quillet::IconPicture> pictures;
  for (int size : kSizes) pictures.push_back(Picture(draw(size)));
  std::string bytes = quillet::IconFileBytes(pictures);
  std::string_view parts[] = {bytes};
  return quillet::WriteFileSafely(path, parts);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quillet-icons FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  for (auto [name, draw] : {std::pair{"Quillet.ico", &quillet::AppIconImage},
                            std::pair{"quillet-document.ico", &quillet::DocumentIconImage}}) {
    if (!WriteIcon(folder + name, draw)) {
      std::fprintf(stderr, "quillet-icons: cannot write %s%s\n", folder.c_str(), name);
      return 1;
    }
  }
  return 0;
}
