// The tool-bar glyphs: 16 x 16 pixel drawings, one character per pixel, so that each
// glyph stays crisp at its only size. '.' is see-through; the other letters name
// colours of the palette below.
#include <array>
#include <string_view>

#include "artwork/art_canvas_win.h"
#include "artwork/artwork_win.h"

namespace quillet {
namespace {

using GlyphMap = std::array<std::string_view, kToolGlyphSize>;

struct PaletteEntry {
  char key;
  COLORREF color;
};

constexpr PaletteEntry kPalette[] = {
    {'k', RGB(36, 36, 44)},    {'g', RGB(128, 128, 128)}, {'s', RGB(192, 192, 192)}, {'l', RGB(228, 228, 228)},
    {'w', RGB(255, 255, 255)}, {'B', RGB(24, 52, 120)},   {'b', RGB(52, 101, 196)},  {'c', RGB(160, 200, 240)},
    {'Y', RGB(196, 140, 36)},  {'y', RGB(248, 210, 100)}, {'e', RGB(255, 240, 176)}, {'o', RGB(150, 96, 44)},
    {'r', RGB(204, 48, 40)},   {'R', RGB(150, 30, 36)},   {'G', RGB(36, 150, 64)},   {'h', RGB(124, 206, 124)},
};

constexpr GlyphMap kNew = {
    "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwklk....", "..kwwwwwwkllk...",
    "..kwwwwwwkkkkk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................",
};

constexpr GlyphMap kOpen = {
    "................", "................", ".kkkk...........", "kYYYYk..........",
    "kYYYYYkkkkkkk...", "kYYYYYYYYYYYYk..", "kYYYkkkkkkkkkkkk", "kYYkeeeeeeeeeeek",
    "kYYkyyyyyyyyyyk.", "kYkyyyyyyyyyyyk.", "kYkyyyyyyyyyyk..", "kkyyyyyyyyyyyk..",
    "kkyyyyyyyyyyk...", "kkkkkkkkkkkkk...", "................", "................",
};

constexpr GlyphMap kSave = {
    "................", "kkkkkkkkkkkkkkk.", "kbbwwwwwwwwwbbk.", "kbbwgggggggwbbk.",
    "kbbwwwwwwwwwbbk.", "kbbwgggggggwbbk.", "kbbwwwwwwwwwbbk.", "kbbbbbbbbbbbbbk.",
    "kbbbbbbbbbbbbbk.", "kbbbsssssssbbbk.", "kbbbsBBssssbbbk.", "kbbbsBBssssbbbk.",
    "kbbbsBBssssbbbk.", "kbbbsssssssbbbk.", "kkkkkkkkkkkkkkk.", "................",
};

constexpr GlyphMap kPrint = {
    "................", "....kkkkkkkk....", "....kwwwwwwk....", "....kwggggwk....",
    "....kwwwwwwk....", "..kkkkkkkkkkkk..", ".kllllllllllllk.", ".kllllllllllGlk.",
    ".kssssssssssssk.", ".ksskkkkkkkkssk.", ".kkkkwwwwwwkkkk.", "....kwggggwk....",
    "....kwwwwwwk....", "....kkkkkkkk....", "................", "................",
};

constexpr GlyphMap kFind = {
    "................", "....kkk.........", "..kkwwckk.......", "..kwwcccck......",
    ".kwccccccck.....", ".kcccccccck.....", ".kcccccccck.....", "..kcccccck......",
    "..kkccccckk.....", "....kkkkkkk.....", "........kook....", ".........kook...",
    "..........kook..", "...........kook.", "............kkk.", "................",
};

constexpr GlyphMap kCut = {
    "....k.....k.....", "....kk...kk.....", ".....k...k......", ".....kk.kk......",
    "......k.k.......", "......kkk.......", ".......k........", "......kkk.......",
    ".....rr.rr......", "..rrrr...rrrr...", ".rr..rr.rr..rr..", ".r....r.r....r..",
    ".rr..rr.rr..rr..", "..rrrr...rrrr...", "................", "................",
};

constexpr GlyphMap kCopy = {
    ".kkkkkkkk.......", ".kwwwwwwk.......", ".kwggggwk.......", ".kwwwwwwk.......",
    ".kwgggkkkkkkkkk.", ".kwwwwkwwwwwwwk.", ".kwgggkwggggwwk.", ".kwwwwkwwwwwwwk.",
    ".kwgggkwgggggwk.", ".kwwwwkwwwwwwwk.", ".kkkkkkwggggwwk.", "......kwwwwwwwk.",
    "......kwgggggwk.", "......kwwwwwwwk.", "......kkkkkkkkk.", "................",
};

constexpr GlyphMap kPaste = {
    ".....kkkk.......", ".kkkkswwskkkk...", ".koookkkkoook...", ".koooooooooook..",
    ".koookkkkkkkkkk.", ".koookwwwwwwwwk.", ".koookwggggggwk.", ".koookwwwwwwwwk.",
    ".koookwggggggwk.", ".koookwwwwwwwwk.", ".koookwgggggwwk.", ".koookwwwwwwwwk.",
    ".koookwggggwwwk.", ".kkkkkwwwwwwwwk.", ".....kkkkkkkkkk.", "................",
};

constexpr GlyphMap kUndo = {
    "................", "................", "......kkkkk.....", "....kkbbbbbkk...",
    "...kbbkkkkkbbk..", "..kbbk.....kbbk.", "..kbk.......kbk.", "kkkbkkk.....kbk.",
    ".kbbbk......kbk.", "..kbk.......kbk.", "...k........kbk.", "............kkk.",
    "................", "................", "................", "................",
};

// The three TeX commands share the TeX mark at the top left and differ in the sign
// at the lower right: run, then preview, then print.
constexpr GlyphMap kTeX1 = {
    "RRRRR...R...R...", "..R.....R...R...", "..R.RRRR.R.R....", "..R.R.....R.....",
    "..R.R....R.R....", "..R.RRR.R...R...", "..R.R...R...R...", "....R...........",
    "....RRRR........", ".........kk.....", ".........kGGk...", ".........kGGGGk.",
    ".........kGGGGGk", ".........kGGGGk.", ".........kGGk...", ".........kk.....",
};

constexpr GlyphMap kTeX2 = {
    "RRRRR...R...R...", "..R.....R...R...", "..R.RRRR.R.R....", "..R.R.....R.....",
    "..R.R....R.R....", "..R.RRR.R...R...", "..R.R...R...R...", "....R...........",
    "....RRRR........", "..........kkk...", ".........kwcck..", ".........kccck..",
    ".........kccck..", "..........kkkk..", ".............kk.", "..............kk",
};

constexpr GlyphMap kTeX3 = {
    "RRRRR...R...R...", "..R.....R...R...", "..R.RRRR.R.R....", "..R.R.....R.....",
    "..R.R....R.R....", "..R.RRR.R...R...", "..R.R...R...R...", "....R...........",
    "....RRRR........", "...........kkk..", "...........kwk..", ".........kkkkkkk",
    ".........klllllk", ".........ksssshk", ".........kkkkkkk", "................",
};

// A page with a line marked on it, and an arrow into the page from the source.
constexpr GlyphMap kForwardSearch = {
    "....kkkkkkkkk...", "....kwwwwwwwkk..", "....kwgggggwkwk.", "....kwwwwwwwkkkk",
    "....kwggggggggwk", "....kwwwwwwwwwwk", "kk..kyyyyyyyyywk", "kbk.kyggggggyywk",
    "kbbkkyyyyyyyyywk", "kbbbkwwwwwwwwwwk", "kbbkkwggggggggwk", "kbk.kwwwwwwwwwwk",
    "kk..kwgggggggwwk", "....kwwwwwwwwwwk", "....kkkkkkkkkkkk", "................",
};

constexpr GlyphMap kHelp = {
    "................", ".....BBBBB......", "...BBbbbbbBB....", "..BbbbwwwbbbB...",
    "..BbbwwbwwbbB...", ".BbbbbbbwwbbbB..", ".BbbbbbwwbbbbB..", ".BbbbbbwbbbbbB..",
    ".BbbbbbwbbbbbB..", ".BbbbbbbbbbbbB..", "..BbbbbwbbbbB...", "..BbbbbbbbbbB...",
    "...BBbbbbbBB....", ".....BBBBB......", "................", "................",
};

constexpr bool WellFormed(const GlyphMap& map) {
  for (std::string_view row : map) {
    if (row.size() != kToolGlyphSize) return false;
    for (char c : row) {
      bool known = c == '.';
      for (const PaletteEntry& e : kPalette) known = known || e.key == c;
      if (!known) return false;
    }
  }
  return true;
}

static_assert(WellFormed(kNew) && WellFormed(kOpen) && WellFormed(kSave) && WellFormed(kPrint));
static_assert(WellFormed(kFind) && WellFormed(kCut) && WellFormed(kCopy) && WellFormed(kPaste));
static_assert(WellFormed(kUndo) && WellFormed(kTeX1) && WellFormed(kTeX2) && WellFormed(kTeX3));
static_assert(WellFormed(kForwardSearch) && WellFormed(kHelp));

COLORREF ColorOf(char key) {
  for (const PaletteEntry& e : kPalette) {
    if (e.key == key) return e.color;
  }
  return RGB(0, 0, 0);
}

// Redo is undo turned round.
char MapPixel(ToolGlyph glyph, int x, int y) {
  auto at = [x, y](const GlyphMap& map) { return map[y][x]; };
  switch (glyph) {
    case ToolGlyph::New: return at(kNew);
    case ToolGlyph::Open: return at(kOpen);
    case ToolGlyph::Save: return at(kSave);
    case ToolGlyph::Print: return at(kPrint);
    case ToolGlyph::Find: return at(kFind);
    case ToolGlyph::Cut: return at(kCut);
    case ToolGlyph::Copy: return at(kCopy);
    case ToolGlyph::Paste: return at(kPaste);
    case ToolGlyph::Undo: return at(kUndo);
    case ToolGlyph::Redo: return kUndo[y][kToolGlyphSize - 1 - x];
    case ToolGlyph::TeX1: return at(kTeX1);
    case ToolGlyph::TeX2: return at(kTeX2);
    case ToolGlyph::TeX3: return at(kTeX3);
    case ToolGlyph::ForwardSearch: return at(kForwardSearch);
    case ToolGlyph::Help: return at(kHelp);
  }
  return '.';
}

ArtImage NormalGlyph(ToolGlyph glyph) {
  ArtImage image{kToolGlyphSize, kToolGlyphSize, std::vector<std::uint32_t>(kToolGlyphSize * kToolGlyphSize, 0)};
  for (int y = 0; y < kToolGlyphSize; ++y) {
    for (int x = 0; x < kToolGlyphSize; ++x) {
      char key = MapPixel(glyph, x, y);
      if (key != '.') image.pixels[y * kToolGlyphSize + x] = OpaquePixel(ColorOf(key));
    }
  }
  return image;
}

// The dark parts of the drawing are what an embossed, disabled glyph keeps.
bool IsInk(char key) {
  if (key == '.') return false;
  COLORREF c = ColorOf(key);
  return GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11 < 168 * 100;
}

ArtImage DisabledGlyph(ToolGlyph glyph) {
  ArtImage image{kToolGlyphSize, kToolGlyphSize, std::vector<std::uint32_t>(kToolGlyphSize * kToolGlyphSize, 0)};
  const std::uint32_t highlight = OpaquePixel(GetSysColor(COLOR_3DHILIGHT));
  const std::uint32_t shadow = OpaquePixel(GetSysColor(COLOR_3DSHADOW));
  for (int y = 0; y < kToolGlyphSize; ++y) {
    for (int x = 0; x < kToolGlyphSize; ++x) {
      if (!IsInk(MapPixel(glyph, x, y))) continue;
      image.pixels[y * kToolGlyphSize + x] = shadow;
      bool inside = x + 1 < kToolGlyphSize && y + 1 < kToolGlyphSize;
      if (inside && !IsInk(MapPixel(glyph, x + 1, y + 1))) image.pixels[(y + 1) * kToolGlyphSize + x + 1] = highlight;
    }
  }
  return image;
}

}  // namespace

void PaintToolGlyph(HDC dc, int x, int y, ToolGlyph glyph, bool enabled) {
  DrawArtImage(dc, x, y, enabled ? NormalGlyph(glyph) : DisabledGlyph(glyph));
}

}  // namespace quillet
