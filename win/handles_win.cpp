#include "win/handles_win.h"

namespace quillet {

FontHandle CreatePixelFont(const char* face, int pixel_height, int weight) {
  return FontHandle(CreateFontA(-pixel_height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, face));
}

FontHandle CreatePointFont(const char* face, int points, HDC reference) {
  HDC dc = reference ? reference : GetDC(nullptr);
  int pixels = MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  if (!reference) ReleaseDC(nullptr, dc);
  return CreatePixelFont(face, pixels);
}

}  // namespace quillet
