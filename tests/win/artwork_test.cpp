#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "artwork/art_canvas_win.h"
#include "artwork/artwork_win.h"
#include "win/handles_win.h"

namespace quillet {
namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);  // a colour none of the artwork uses
constexpr int kMargin = 8;

// What a painting left on a sheet of the key colour: the pixels of its own area, row by
// row, and how many pixels it changed outside that area.
struct Painted {
  std::vector<COLORREF> inside;
  int changed_outside = 0;

  int drawn() const {
    int n = 0;
    for (COLORREF c : inside) n += c != kKey;
    return n;
  }
};

Painted PaintOnKey(int width, int height, const std::function<void(HDC, int, int)>& paint) {
  DibSurface sheet(width + 2 * kMargin, height + 2 * kMargin);
  BrushHandle key(CreateSolidBrush(kKey));
  RECT all{0, 0, sheet.width(), sheet.height()};
  FillRect(sheet.dc(), &all, key.get());
  paint(sheet.dc(), kMargin, kMargin);
  GdiFlush();
  Painted out;
  for (int y = 0; y < sheet.height(); ++y) {
    for (int x = 0; x < sheet.width(); ++x) {
      std::uint32_t p = sheet.bits()[y * sheet.width() + x];
      COLORREF c = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
      bool in = x >= kMargin && x < kMargin + width && y >= kMargin && y < kMargin + height;
      if (in) {
        out.inside.push_back(c);
      } else {
        out.changed_outside += c != kKey;
      }
    }
  }
  return out;
}

int Differences(const Painted& a, const Painted& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.inside.size(); ++i) n += a.inside[i] != b.inside[i];
  return n;
}

struct GlyphRow {
  ToolGlyph glyph;
  const char* name;
};

constexpr GlyphRow kGlyphs[] = {
    {ToolGlyph::New, "New"},     {ToolGlyph::Open, "Open"},   {ToolGlyph::Save, "Save"},   {ToolGlyph::Print, "Print"},
    {ToolGlyph::Find, "Find"},   {ToolGlyph::Cut, "Cut"},     {ToolGlyph::Copy, "Copy"},   {ToolGlyph::Paste, "Paste"},
    {ToolGlyph::Undo, "Undo"},   {ToolGlyph::Redo, "Redo"},   {ToolGlyph::TeX1, "TeX1"},   {ToolGlyph::TeX2, "TeX2"},
    {ToolGlyph::TeX3, "TeX3"},   {ToolGlyph::ForwardSearch, "ForwardSearch"}, {ToolGlyph::Help, "Help"},
};
static_assert(std::size(kGlyphs) == kToolGlyphCount);

Painted Glyph(ToolGlyph glyph, bool enabled) {
  return PaintOnKey(kToolGlyphSize, kToolGlyphSize,
                    [&](HDC dc, int x, int y) { PaintToolGlyph(dc, x, y, glyph, enabled); });
}

std::string Look(const GlyphRow& row, bool enabled) {
  return std::string(row.name) + (enabled ? " (normal)" : " (disabled)");
}

TEST(ToolGlyphs, DrawAShapeInsideTheirSquareAndNothingElse) {
  const int area = kToolGlyphSize * kToolGlyphSize;
  for (const GlyphRow& row : kGlyphs) {
    for (bool enabled : {true, false}) {
      Painted p = Glyph(row.glyph, enabled);
      EXPECT_EQ(p.changed_outside, 0) << Look(row, enabled);
      EXPECT_GE(p.drawn(), 30) << Look(row, enabled);
      // The background shows round the shape.
      EXPECT_GE(area - p.drawn(), 16) << Look(row, enabled);
    }
  }
}

TEST(ToolGlyphs, NormalGlyphsCanBeToldApart) {
  std::vector<Painted> normal;
  for (const GlyphRow& row : kGlyphs) normal.push_back(Glyph(row.glyph, true));
  for (std::size_t i = 0; i < normal.size(); ++i) {
    for (std::size_t j = i + 1; j < normal.size(); ++j) {
      EXPECT_GE(Differences(normal[i], normal[j]), 16) << kGlyphs[i].name << " vs " << kGlyphs[j].name;
    }
  }
}

TEST(ToolGlyphs, DisabledGlyphsAreEmbossedGreysOfTheirShape) {
  for (const GlyphRow& row : kGlyphs) {
    Painted normal = Glyph(row.glyph, true), disabled = Glyph(row.glyph, false);
    EXPECT_GE(Differences(normal, disabled), 16) << row.name;
    std::set<COLORREF> greys;
    for (COLORREF c : disabled.inside) {
      if (c == kKey) continue;
      EXPECT_TRUE(GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c))
          << row.name << ": colour " << std::hex << c;
      greys.insert(c);
    }
    EXPECT_EQ(greys.size(), 2u) << row.name << ": a shadow and a highlight";
  }
}

struct PictureRow {
  const char* name;
  void (*paint)(HDC, int, int);
  int width;
  int height;
};

TEST(TitleArtwork, PictureAndLogoFillTheirSizeAndStayInside) {
  const PictureRow rows[] = {
      {"title picture", &PaintTitlePicture, kTitlePictureWidth, kTitlePictureHeight},
      {"logo", &PaintLogo, kLogoWidth, kLogoHeight},
  };
  for (const PictureRow& row : rows) {
    Painted p = PaintOnKey(row.width, row.height, row.paint);
    EXPECT_EQ(p.changed_outside, 0) << row.name;
    EXPECT_EQ(p.drawn(), row.width * row.height) << row.name;
    std::set<COLORREF> colours(p.inside.begin(), p.inside.end());
    EXPECT_GE(colours.size(), 200u) << row.name << " is a picture, not a flat fill";
  }
  EXPECT_EQ(Differences(PaintOnKey(kTitlePictureWidth, kTitlePictureHeight, &PaintTitlePicture),
                        PaintOnKey(kTitlePictureWidth, kTitlePictureHeight, &PaintTitlePicture)),
            0)
      << "painting again gives the same picture";
}

struct IconRow {
  const char* name;
  HICON (*create)(int);
};

TEST(Icons, AreMadeAtBothSizesWithSeeThroughSurroundings) {
  const IconRow rows[] = {{"program", &CreateAppIcon}, {"document", &CreateDocumentIcon}};
  for (int size : {16, 32}) {
    std::vector<Painted> looks;
    for (const IconRow& row : rows) {
      IconHandle icon(row.create(size));
      ASSERT_TRUE(icon) << row.name << " " << size;
      ICONINFO info{};
      ASSERT_TRUE(GetIconInfo(icon.get(), &info)) << row.name << " " << size;
      BitmapHandle color(info.hbmColor), mask(info.hbmMask);
      BITMAP bm{};
      GetObjectA(color.get(), sizeof(bm), &bm);
      EXPECT_EQ(bm.bmWidth, size) << row.name;
      EXPECT_EQ(bm.bmHeight, size) << row.name;
      Painted p = PaintOnKey(size, size, [&](HDC dc, int x, int y) {
        DrawIconEx(dc, x, y, icon.get(), size, size, 0, nullptr, DI_NORMAL);
      });
      EXPECT_EQ(p.changed_outside, 0) << row.name << " " << size;
      EXPECT_GE(p.drawn(), size * size / 3) << row.name << " " << size;
      EXPECT_GE(size * size - p.drawn(), size) << row.name << " " << size << " has see-through surroundings";
      looks.push_back(p);
    }
    EXPECT_GE(Differences(looks[0], looks[1]), size * size / 8) << "program and document icons at " << size;
  }
}

}  // namespace
}  // namespace quillet
