#include "win/handles_win.h"

#include "win/guard_win.h"

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

namespace {
int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM names) {
  // A name that cannot be kept ends the listing; the names so far are shown.
  return Guarded(nullptr, 0, [&] {
    reinterpret_cast<std::set<std::string>*>(names)->insert(font->lfFaceName);
    return 1;
  });
}
}  // namespace

std::set<std::string> ScreenFontFamilies() {
  std::set<std::string> families;
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &query, CollectFamily, reinterpret_cast<LPARAM>(&families), 0);
  ReleaseDC(nullptr, screen);
  return families;
}

}  // namespace quillet
