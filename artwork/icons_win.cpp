// The window icons, drawn at the size asked for.
#include "artwork/art_canvas_win.h"
#include "artwork/art_motifs_win.h"
#include "artwork/artwork_win.h"
#include "artwork/icon_file.h"

namespace quillet {
namespace {

// Icons are designed on a 32-unit grid and drawn at the size asked for.
constexpr double kGrid = 32;

HICON IconFromImage(const ArtImage& image) {
  std::uint32_t* bits = nullptr;
  BitmapHandle color = CreateDib32(image.width, image.height, &bits);  // in no DC, as the icon wants
  if (!color) return nullptr;
  // Icons take straight (not premultiplied) alpha; the mask is set where nothing is drawn.
  const int mask_stride = ((image.width + 15) / 16) * 2;
  std::vector<BYTE> mask(static_cast<std::size_t>(mask_stride) * image.height, 0);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      std::uint32_t p = image.at(x, y);
      bits[y * image.width + x] = StraightAlphaPixel(p);
      if ((p >> 24) == 0) mask[y * mask_stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    }
  }
  BitmapHandle mask_bitmap(CreateBitmap(image.width, image.height, 1, 1, mask.data()));
  GdiFlush();
  ICONINFO info{TRUE, 0, 0, mask_bitmap.get(), color.get()};
  return CreateIconIndirect(&info);
}

struct Grid {
  double k;
  PointD operator()(double x, double y) const { return {x * k, y * k}; }
  double operator()(double v) const { return v * k; }
};

ArtPath Rect(const Grid& g, double x0, double y0, double x1, double y1) {
  return ArtPath().Move(g(x0), g(y0)).Line(g(x1), g(y0)).Line(g(x1), g(y1)).Line(g(x0), g(y1)).Close();
}

void DrawRuledLines(Canvas& c, const Grid& g, double x0, double x1, double y0, int count, COLORREF color) {
  for (int i = 0; i < count; ++i) {
    double y = y0 + i * 4;
    c.StrokeLine(g(x0, y), g(x1 - (i % 2) * 4, y), color, g(1.4));
  }
}

void DrawAppIcon(Canvas& c, int size) {
  Grid g{size / kGrid};
  c.FillPath(Rect(g, 4, 3, 23, 30), RGB(255, 255, 255));
  c.StrokePath(Rect(g, 4.5, 3.5, 22.5, 29.5), RGB(96, 100, 116), g(1.2));
  DrawRuledLines(c, g, 8, 19, 9, size < 32 ? 3 : 4, RGB(160, 170, 196));
  QuillShape quill{g(10, 27), g(31, 1), g(1.5), g(6.5), size < 32 ? 0 : 10};
  DrawQuill(c, quill, QuillStyle{RGB(30, 56, 128), RGB(96, 146, 222), RGB(22, 42, 98), RGB(250, 244, 228),
                                 RGB(26, 26, 40)});
}

void DrawDocumentIcon(Canvas& c, int size) {
  Grid g{size / kGrid};
  const double fold = 8;
  ArtPath page = ArtPath()
                     .Move(g(5), g(2))
                     .Line(g(27 - fold), g(2))
                     .Line(g(27), g(2 + fold))
                     .Line(g(27), g(30))
                     .Line(g(5), g(30))
                     .Close();
  c.FillPath(page, RGB(255, 255, 255));
  c.StrokePath(page, RGB(96, 100, 116), g(1.2));
  ArtPath corner = ArtPath().Move(g(27 - fold), g(2)).Line(g(27 - fold), g(2 + fold)).Line(g(27), g(2 + fold));
  c.FillPath(ArtPath(corner).Close(), RGB(222, 226, 236));
  c.StrokePath(corner, RGB(96, 100, 116), g(1.2));
  DrawTeXMark(c, g(8), g(10), ArtFont{"ＭＳ Ｐ明朝", g(9), FW_BOLD}, RGB(150, 30, 36));
  DrawRuledLines(c, g, 9, 24, 22.5, 2, RGB(150, 160, 186));
}

}  // namespace

ArtImage AppIconImage(int size) {
  return RenderTransparent(size, size, 6, [size](Canvas& c) { DrawAppIcon(c, size); });
}

ArtImage DocumentIconImage(int size) {
  return RenderTransparent(size, size, 6, [size](Canvas& c) { DrawDocumentIcon(c, size); });
}

HICON CreateAppIcon(int size) { return IconFromImage(AppIconImage(size)); }

HICON CreateDocumentIcon(int size) { return IconFromImage(DocumentIconImage(size)); }

}  // namespace quillet
