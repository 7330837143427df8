#pragma once
// The motifs that the program's pictures share: the quill pen and the TeX mark.
#include "artwork/art_canvas_win.h"

namespace quillet {

struct QuillShape {
  PointD nib;          // the writing point
  PointD tip;          // the far end of the feather
  double bend = 0;     // how far the shaft bows to the feather's wide side
  double width = 10;   // widest reach of the vane from the shaft
  int barbs = 28;      // fine strokes across each side of the vane (0 for none)
};

struct QuillStyle {
  COLORREF vane_base;  // feather colour near the shaft's base ...
  COLORREF vane_tip;   // ... and at its tip
  COLORREF barb;       // the fine strokes
  COLORREF shaft;
  COLORREF nib;
};

void DrawQuill(Canvas& canvas, const QuillShape& shape, const QuillStyle& style);

// "TeX" set the typesetter's way: E lowered, the letters tucked together. (x, y) is
// the top-left corner; returns the width used.
double DrawTeXMark(Canvas& canvas, double x, double y, const ArtFont& font, COLORREF color);

}  // namespace quillet
