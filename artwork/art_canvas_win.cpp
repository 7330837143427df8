#include "artwork/art_canvas_win.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quillet {

std::uint32_t OpaquePixel(COLORREF color) {
  return 0xFF000000u | (std::uint32_t{GetRValue(color)} << 16) | (std::uint32_t{GetGValue(color)} << 8) |
         GetBValue(color);
}

BitmapHandle CreateDib32(int width, int height, std::uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  *bits = bitmap ? static_cast<std::uint32_t*>(pixels) : nullptr;
  return bitmap;
}

DibSurface::DibSurface(int width, int height) : width_(width), height_(height) {
  std::uint32_t* bits = nullptr;
  bitmap_ = CreateDib32(width, height, &bits);
  dc_.reset(CreateCompatibleDC(nullptr));
  if (!bitmap_ || !dc_) return;
  old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
  bits_ = bits;
}

DibSurface::~DibSurface() {
  if (old_bitmap_) SelectObject(dc_.get(), old_bitmap_);
}

void DrawArtImage(HDC dc, int x, int y, const ArtImage& image) {
  DibSurface source(image.width, image.height);
  if (!source.ok()) return;
  std::memcpy(source.bits(), image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, x, y, image.width, image.height, source.dc(), 0, 0, image.width, image.height, blend);
}

ArtPath& ArtPath::Move(double x, double y) {
  points_.push_back({x, y});
  types_.push_back(PT_MOVETO);
  return *this;
}

ArtPath& ArtPath::Line(double x, double y) {
  points_.push_back({x, y});
  types_.push_back(PT_LINETO);
  return *this;
}

ArtPath& ArtPath::Curve(double x1, double y1, double x2, double y2, double x3, double y3) {
  for (PointD p : {PointD{x1, y1}, PointD{x2, y2}, PointD{x3, y3}}) {
    points_.push_back(p);
    types_.push_back(PT_BEZIERTO);
  }
  return *this;
}

ArtPath& ArtPath::Close() {
  if (!types_.empty()) types_.back() |= PT_CLOSEFIGURE;
  return *this;
}

Canvas::Canvas(int width, int height, int scale)
    : width_(width), height_(height), scale_(scale), surface_(width * scale, height * scale) {
  if (ok()) SetBkMode(dc(), TRANSPARENT);
}

int Canvas::S(double v) const { return static_cast<int>(std::lround(v * scale_)); }

void Canvas::Fill(COLORREF color) { FillRect(0, 0, width_, height_, color); }

void Canvas::FillRect(double x, double y, double w, double h, COLORREF color) {
  RECT r{S(x), S(y), S(x + w), S(y + h)};
  BrushHandle brush(CreateSolidBrush(color));
  ::FillRect(dc(), &r, brush.get());
}

namespace {
TRIVERTEX Vertex(LONG x, LONG y, COLORREF c) {
  return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(c) << 8), static_cast<COLOR16>(GetGValue(c) << 8),
                   static_cast<COLOR16>(GetBValue(c) << 8), 0};
}
}  // namespace

void Canvas::VerticalGradient(double x, double y, double w, double h, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {Vertex(S(x), S(y), top), Vertex(S(x + w), S(y + h), bottom)};
  GRADIENT_RECT rect{0, 1};
  GdiGradientFill(dc(), v, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void Canvas::EmitPath(const ArtPath& path) {
  std::vector<POINT> fine;
  fine.reserve(path.points_.size());
  for (PointD p : path.points_) fine.push_back(POINT{S(p.x), S(p.y)});
  BeginPath(dc());
  PolyDraw(dc(), fine.data(), path.types_.data(), static_cast<int>(fine.size()));
  EndPath(dc());
}

void Canvas::FillPath(const ArtPath& path, COLORREF color) {
  BrushHandle brush(CreateSolidBrush(color));
  SelectIn use_brush(dc(), brush.get());
  EmitPath(path);
  ::FillPath(dc());
}

void Canvas::FillQuad(const PointD (&c)[4], COLORREF c0, COLORREF c1) {
  TRIVERTEX v[4] = {Vertex(S(c[0].x), S(c[0].y), c0), Vertex(S(c[1].x), S(c[1].y), c0),
                    Vertex(S(c[2].x), S(c[2].y), c1), Vertex(S(c[3].x), S(c[3].y), c1)};
  GRADIENT_TRIANGLE triangles[2] = {{0, 1, 2}, {0, 2, 3}};
  GdiGradientFill(dc(), v, 4, triangles, 2, GRADIENT_FILL_TRIANGLE);
}

void Canvas::ClipTo(const ArtPath& path) {
  EmitPath(path);
  SelectClipPath(dc(), RGN_COPY);
}

void Canvas::ResetClip() { SelectClipRgn(dc(), nullptr); }

void Canvas::FillPathGradient(const ArtPath& path, PointD from, COLORREF c0, PointD to, COLORREF c1) {
  ClipTo(path);
  double dx = to.x - from.x, dy = to.y - from.y;
  double length = std::max(std::hypot(dx, dy), 1e-6);
  double reach = 2.0 * (width_ + height_);  // far enough to cover the whole canvas
  PointD along{dx / length * reach, dy / length * reach};
  PointD across{-dy / length * reach, dx / length * reach};
  auto at = [](PointD p, PointD d, double k) { return PointD{p.x + d.x * k, p.y + d.y * k}; };
  PointD before = at(from, along, -1), beyond = at(to, along, 1);
  const PointD head[4] = {at(before, across, 1), at(before, across, -1), at(from, across, -1), at(from, across, 1)};
  const PointD ramp[4] = {at(from, across, 1), at(from, across, -1), at(to, across, -1), at(to, across, 1)};
  const PointD tail[4] = {at(to, across, 1), at(to, across, -1), at(beyond, across, -1), at(beyond, across, 1)};
  FillQuad(head, c0, c0);
  FillQuad(ramp, c0, c1);
  FillQuad(tail, c1, c1);
  ResetClip();
}

void Canvas::StrokePath(const ArtPath& path, COLORREF color, double width) {
  LOGBRUSH lb{BS_SOLID, color, 0};
  PenHandle pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                             static_cast<DWORD>(std::max(1, S(width))), &lb, 0, nullptr));
  SelectIn use_pen(dc(), pen.get());
  EmitPath(path);
  ::StrokePath(dc());
}

void Canvas::StrokeLine(PointD a, PointD b, COLORREF color, double width) {
  StrokePath(ArtPath().Move(a.x, a.y).Line(b.x, b.y), color, width);
}

namespace {
FontHandle CreateArtFont(const ArtFont& font, int fine_height) {
  return FontHandle(CreateFontA(-fine_height, 0, 0, 0, font.weight, font.italic, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                VARIABLE_PITCH | FF_ROMAN, font.face));
}
}  // namespace

double Canvas::Text(double x, double y, const char* text, const ArtFont& font, COLORREF color) {
  FontHandle handle = CreateArtFont(font, S(font.height));
  SelectIn use_font(dc(), handle.get());
  SetTextColor(dc(), color);
  int n = static_cast<int>(std::strlen(text));
  TextOutA(dc(), S(x), S(y), text, n);
  SIZE size{};
  GetTextExtentPoint32A(dc(), text, n, &size);
  return static_cast<double>(size.cx) / scale_;
}

ArtImage Canvas::Resolve() const {
  ArtImage out{width_, height_, std::vector<std::uint32_t>(static_cast<std::size_t>(width_) * height_)};
  if (!ok()) return out;
  const int fine_width = width_ * scale_;
  const unsigned area = static_cast<unsigned>(scale_ * scale_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      unsigned sum[3] = {0, 0, 0};
      for (int fy = 0; fy < scale_; ++fy) {
        const std::uint32_t* row = surface_.bits() + static_cast<std::size_t>(y * scale_ + fy) * fine_width;
        for (int fx = 0; fx < scale_; ++fx) {
          std::uint32_t p = row[x * scale_ + fx];
          for (int c = 0; c < 3; ++c) sum[c] += (p >> (8 * c)) & 0xFF;
        }
      }
      std::uint32_t pixel = 0xFF000000u;
      for (int c = 0; c < 3; ++c) pixel |= ((sum[c] + area / 2) / area) << (8 * c);
      out.pixels[static_cast<std::size_t>(y) * width_ + x] = pixel;
    }
  }
  return out;
}

ArtImage RenderTransparent(int width, int height, int scale, const std::function<void(Canvas&)>& draw) {
  Canvas on_black(width, height, scale), on_white(width, height, scale);
  on_black.Fill(RGB(0, 0, 0));
  on_white.Fill(RGB(255, 255, 255));
  draw(on_black);
  draw(on_white);
  ArtImage black = on_black.Resolve(), white = on_white.Resolve();
  for (std::size_t i = 0; i < black.pixels.size(); ++i) {
    std::uint32_t b = black.pixels[i], w = white.pixels[i];
    int see_through = 0;  // how much of the white background shows, summed over channels
    for (int c = 0; c < 3; ++c) see_through += static_cast<int>((w >> (8 * c)) & 0xFF) - ((b >> (8 * c)) & 0xFF);
    std::uint32_t alpha = static_cast<std::uint32_t>(std::clamp(255 - see_through / 3, 0, 255));
    std::uint32_t pixel = alpha << 24;
    for (int c = 0; c < 3; ++c) pixel |= std::min<std::uint32_t>((b >> (8 * c)) & 0xFF, alpha) << (8 * c);
    black.pixels[i] = pixel;
  }
  return black;
}

}  // namespace quillet
