#pragma once
// Drawing surfaces for the artwork. GDI draws without anti-aliasing, so pictures are
// drawn on a canvas several times larger than the result and averaged down; the
// results are premultiplied 32-bit images that blend onto any device context.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "win/handles_win.h"

namespace quillet {

// Premultiplied BGRA pixels, top row first (the layout of a top-down 32-bit DIB).
struct ArtImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A fully opaque pixel of the colour.
std::uint32_t OpaquePixel(COLORREF color);

// Blends the image onto dc with its top-left corner at (x, y).
void DrawArtImage(HDC dc, int x, int y, const ArtImage& image);

// A 32-bit top-down DIB section; *bits receives its pixels.
BitmapHandle CreateDib32(int width, int height, std::uint32_t** bits);

// A 32-bit top-down DIB section selected into its own memory DC.
class DibSurface {
 public:
  DibSurface(int width, int height);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  std::uint32_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  std::uint32_t* bits_ = nullptr;
  MemoryDc dc_;
  BitmapHandle bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
};

struct PointD {
  double x;
  double y;
};

// An outline of lines and cubic curves in picture units.
class ArtPath {
 public:
  ArtPath& Move(double x, double y);
  ArtPath& Line(double x, double y);
  ArtPath& Curve(double x1, double y1, double x2, double y2, double x3, double y3);
  ArtPath& Close();

 private:
  friend class Canvas;
  std::vector<PointD> points_;
  std::vector<BYTE> types_;
};

struct ArtFont {
  const char* face;
  double height;  // pixels of the result
  int weight = FW_NORMAL;
  bool italic = false;
};

// A drawing surface in picture units, scale times finer underneath.
class Canvas {
 public:
  Canvas(int width, int height, int scale);
  bool ok() const { return surface_.ok(); }
  HDC dc() const { return surface_.dc(); }

  void Fill(COLORREF color);
  void FillRect(double x, double y, double w, double h, COLORREF color);
  void VerticalGradient(double x, double y, double w, double h, COLORREF top, COLORREF bottom);
  void FillPath(const ArtPath& path, COLORREF color);
  // Fills the outline with a linear gradient running from `from` (color c0) to `to` (c1).
  void FillPathGradient(const ArtPath& path, PointD from, COLORREF c0, PointD to, COLORREF c1);
  void StrokePath(const ArtPath& path, COLORREF color, double width);
  void StrokeLine(PointD a, PointD b, COLORREF color, double width);
  // Limits drawing to the inside of the outline until ResetClip.
  void ClipTo(const ArtPath& path);
  void ResetClip();
  // Draws text with its top-left corner at (x, y); returns its advance width.
  double Text(double x, double y, const char* text, const ArtFont& font, COLORREF color);

  // Averages the fine pixels down to picture size; fully opaque.
  ArtImage Resolve() const;

 private:
  int S(double v) const;
  void EmitPath(const ArtPath& path);
  void FillQuad(const PointD (&corners)[4], COLORREF c0, COLORREF c1);

  int width_;
  int height_;
  int scale_;
  DibSurface surface_;
};

// Renders a drawing with transparency: it is drawn once over black and once over white,
// and the two results give each pixel's coverage.
ArtImage RenderTransparent(int width, int height, int scale, const std::function<void(Canvas&)>& draw);

}  // namespace quillet
