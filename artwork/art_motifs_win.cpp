#include "artwork/art_motifs_win.h"

#include <algorithm>
#include <cmath>

namespace quillet {
namespace {

// The feather's shaft: a cubic curve from the nib to the tip, bowed sideways.
class Spine {
 public:
  explicit Spine(const QuillShape& s) : p0_(s.nib), p3_(s.tip) {
    double dx = p3_.x - p0_.x, dy = p3_.y - p0_.y;
    length_ = std::hypot(dx, dy);
    PointD n{-dy / length_ * s.bend, dx / length_ * s.bend};
    p1_ = {p0_.x + dx / 3 + n.x, p0_.y + dy / 3 + n.y};
    p2_ = {p0_.x + dx * 2 / 3 + n.x, p0_.y + dy * 2 / 3 + n.y};
  }

  PointD At(double t) const {
    double u = 1 - t;
    return {u * u * u * p0_.x + 3 * u * u * t * p1_.x + 3 * u * t * t * p2_.x + t * t * t * p3_.x,
            u * u * u * p0_.y + 3 * u * u * t * p1_.y + 3 * u * t * t * p2_.y + t * t * t * p3_.y};
  }

  // Unit normal at t, pointing to the feather's wide side.
  PointD Normal(double t) const {
    double u = 1 - t;
    double dx = 3 * u * u * (p1_.x - p0_.x) + 6 * u * t * (p2_.x - p1_.x) + 3 * t * t * (p3_.x - p2_.x);
    double dy = 3 * u * u * (p1_.y - p0_.y) + 6 * u * t * (p2_.y - p1_.y) + 3 * t * t * (p3_.y - p2_.y);
    double len = std::max(std::hypot(dx, dy), 1e-9);
    return {dy / len, -dx / len};
  }

  PointD Offset(double t, double distance) const {
    PointD p = At(t), n = Normal(t);
    return {p.x + n.x * distance, p.y + n.y * distance};
  }

  double length() const { return length_; }

 private:
  PointD p0_, p1_, p2_, p3_;
  double length_;
};

constexpr double kVaneStart = 0.24;  // the bare quill below the feather
constexpr double kNibEnd = 0.07;
constexpr int kSteps = 48;

// Reach of the vane from the shaft at t (0 outside the vane), with a notch or two
// where the barbs have parted.
double VaneReach(double t, double width, double notch_at) {
  if (t <= kVaneStart || t >= 1) return 0;
  double s = (t - kVaneStart) / (1 - kVaneStart);
  double reach = std::sqrt(s) * std::pow(1 - s, 0.45) / 0.55;
  double notch = std::max(0.0, 1 - std::abs(s - notch_at) / 0.035) * 0.35;
  return width * std::min(reach, 1.0) * (1 - notch);
}

ArtPath VaneOutline(const Spine& spine, const QuillShape& shape) {
  ArtPath path;
  path.Move(spine.At(kVaneStart).x, spine.At(kVaneStart).y);
  for (int i = 1; i <= kSteps; ++i) {
    double t = kVaneStart + (1 - kVaneStart) * i / kSteps;
    PointD p = spine.Offset(t, VaneReach(t, shape.width, 0.55));
    path.Line(p.x, p.y);
  }
  for (int i = kSteps - 1; i >= 0; --i) {
    double t = kVaneStart + (1 - kVaneStart) * i / kSteps;
    PointD p = spine.Offset(t, -VaneReach(t, shape.width * 0.55, 0.35));
    path.Line(p.x, p.y);
  }
  return path.Close();
}

void DrawBarbs(Canvas& canvas, const Spine& spine, const QuillShape& shape, const QuillStyle& style) {
  double stroke = std::max(0.25, shape.width / 40);
  for (int i = 0; i < shape.barbs; ++i) {
    double t = kVaneStart + (1 - kVaneStart) * (i + 0.5) / shape.barbs;
    double slant = std::min(1.0, t + 0.08);
    for (double side : {1.0, -0.55}) {
      canvas.StrokeLine(spine.At(t), spine.Offset(slant, side * shape.width * 1.2), style.barb, stroke);
    }
  }
}

// The shaft tapers from the quill at the base to a hair at the tip.
ArtPath ShaftOutline(const Spine& spine, double base_width) {
  ArtPath path;
  auto half = [base_width](double t) { return base_width * (0.5 - 0.42 * t); };
  PointD start = spine.Offset(kNibEnd, half(kNibEnd));
  path.Move(start.x, start.y);
  for (int i = 1; i <= kSteps; ++i) {
    double t = kNibEnd + (1 - kNibEnd) * i / kSteps;
    PointD p = spine.Offset(t, half(t));
    path.Line(p.x, p.y);
  }
  for (int i = kSteps; i >= 0; --i) {
    double t = kNibEnd + (1 - kNibEnd) * i / kSteps;
    PointD p = spine.Offset(t, -half(t));
    path.Line(p.x, p.y);
  }
  return path.Close();
}

void DrawNib(Canvas& canvas, const Spine& spine, double base_width, COLORREF color) {
  PointD point = spine.At(0);
  PointD a = spine.Offset(kNibEnd, base_width * 0.5), b = spine.Offset(kNibEnd, -base_width * 0.5);
  canvas.FillPath(ArtPath().Move(point.x, point.y).Line(a.x, a.y).Line(b.x, b.y).Close(), color);
}

}  // namespace

void DrawQuill(Canvas& canvas, const QuillShape& shape, const QuillStyle& style) {
  Spine spine(shape);
  ArtPath vane = VaneOutline(spine, shape);
  PointD base = spine.At(kVaneStart);
  canvas.FillPathGradient(vane, base, style.vane_base, shape.tip, style.vane_tip);
  if (shape.barbs > 0) {
    canvas.ClipTo(vane);
    DrawBarbs(canvas, spine, shape, style);
    canvas.ResetClip();
  }
  double base_width = std::max(0.9, shape.width * 0.2);
  canvas.FillPath(ShaftOutline(spine, base_width), style.shaft);
  DrawNib(canvas, spine, base_width, style.nib);
}

double DrawTeXMark(Canvas& canvas, double x, double y, const ArtFont& font, COLORREF color) {
  const double h = font.height;
  double at = x;
  at += canvas.Text(at, y, "T", font, color) - 0.17 * h;
  at += canvas.Text(at, y + 0.22 * h, "E", font, color) - 0.12 * h;
  at += canvas.Text(at, y, "X", font, color);
  return at - x;
}

}  // namespace quillet
