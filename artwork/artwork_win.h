#pragma once
// The program's own artwork, drawn in code: the title picture and logo of the title
// window, the tool-bar glyphs and the window icons.
#include <windows.h>

#include "artwork/art_canvas_win.h"

namespace quillet {

inline constexpr int kTitlePictureWidth = 250;
inline constexpr int kTitlePictureHeight = 166;
inline constexpr int kLogoWidth = 136;
inline constexpr int kLogoHeight = 49;
inline constexpr int kToolGlyphSize = 16;
inline constexpr int kWizardPictureWidth = 130;
inline constexpr int kWizardPictureHeight = 210;

// The title picture and logo take some milliseconds to draw, once per run: this starts
// drawing them on another thread, and the first paint waits only for what is not done.
void PrepareTitleArtwork();
// The title picture, 250 x 166 pixels, painted with its top-left corner at (x, y).
void PaintTitlePicture(HDC dc, int x, int y);
// The logo, 136 x 49 pixels (shown on a silver panel at the title window's upper right).
void PaintLogo(HDC dc, int x, int y);
// The new-document wizard's picture, 130 x 210 pixels: a fresh page and the pen.
void PaintWizardPicture(HDC dc, int x, int y);

enum class ToolGlyph { New, Open, Save, Print, Find, Cut, Copy, Paste, Undo, Redo, TeX1, TeX2, TeX3, ForwardSearch, Help };
inline constexpr int kToolGlyphCount = 15;

// A 16 x 16 tool-bar glyph in its normal or disabled (greyed, embossed) look, drawn
// over whatever background is there (transparent outside the shape).
void PaintToolGlyph(HDC dc, int x, int y, ToolGlyph glyph, bool enabled);

// The program's icon and the document windows' icon, drawn in code (size 16 or 32).
// The caller owns the icon (DestroyIcon); null when the platform refuses.
HICON CreateAppIcon(int size);
HICON CreateDocumentIcon(int size);
// The same pictures (premultiplied), at any size, for the icon files.
ArtImage AppIconImage(int size);
ArtImage DocumentIconImage(int size);

}  // namespace quillet
