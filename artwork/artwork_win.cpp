// The title window's picture and logo.
#include "artwork/artwork_win.h"

#include "artwork/art_canvas_win.h"
#include "artwork/art_motifs_win.h"

namespace quillet {
namespace {

constexpr int kFine = 4;  // canvas pixels per picture pixel
constexpr char kSerif[] = "ＭＳ Ｐ明朝";
constexpr char kFixed[] = "ＭＳ ゴシック";
constexpr COLORREF kInk = RGB(30, 43, 79);
constexpr COLORREF kSepia = RGB(112, 86, 52);

constexpr QuillStyle kBlueQuill{RGB(30, 56, 128), RGB(116, 162, 226), RGB(22, 42, 98), RGB(250, 244, 228),
                                RGB(26, 26, 40)};
constexpr QuillStyle kGoldQuill{RGB(196, 160, 84), RGB(250, 230, 160), RGB(160, 124, 56), RGB(255, 250, 236),
                                RGB(120, 92, 40)};

ArtPath Frame(double x, double y, double w, double h) {
  return ArtPath().Move(x, y).Line(x + w, y).Line(x + w, y + h).Line(x, y + h).Close();
}

void DrawParchment(Canvas& c) {
  c.VerticalGradient(0, 0, kTitlePictureWidth, kTitlePictureHeight, RGB(253, 250, 240), RGB(236, 224, 194));
  c.StrokePath(Frame(0.5, 0.5, kTitlePictureWidth - 1, kTitlePictureHeight - 1), RGB(150, 124, 84), 1.0);
  c.StrokePath(Frame(3.5, 3.5, kTitlePictureWidth - 7, kTitlePictureHeight - 7), RGB(206, 178, 112), 0.6);
}

// A few faint lines of a document source behind the quill.
void DrawSourceLines(Canvas& c) {
  static const char* const kLines[] = {"\\documentclass{jarticle}", "\\begin{document}", "\\section{はじめに}",
                                       "TeXで美しい文書を。", "\\end{document}"};
  const ArtFont font{kFixed, 9};
  double y = 82;
  for (const char* line : kLines) {
    c.Text(122, y, line, font, RGB(218, 204, 172));
    y += 12;
  }
}

void DrawTitleText(Canvas& c) {
  const ArtFont title{kSerif, 36, FW_BOLD};
  double x = 14 + DrawTeXMark(c, 14, 12, title, kInk);
  c.Text(x + 8, 12, "Quillet", title, kInk);
  c.StrokeLine({16, 56}, {196, 56}, RGB(206, 178, 112), 0.6);
  c.Text(17, 61, "日本語 TeX 統合環境", ArtFont{kSerif, 13}, kSepia);
}

void DrawPenAtWork(Canvas& c) {
  const QuillShape quill{{96, 146}, {230, 58}, 9, 15, 36};
  QuillShape shadow = quill;
  shadow.nib = {quill.nib.x + 3, quill.nib.y + 2};
  shadow.tip = {quill.tip.x + 3, quill.tip.y + 4};
  shadow.barbs = 0;
  const COLORREF shade = RGB(222, 208, 176);
  DrawQuill(c, shadow, QuillStyle{shade, shade, shade, shade, shade});
  // The flourish the pen has just written, ending at the nib.
  c.StrokePath(ArtPath().Move(18, 146).Curve(38, 128, 56, 160, 96, 146), kInk, 1.4);
  DrawQuill(c, quill, kBlueQuill);
}

ArtImage RenderTitlePicture() {
  Canvas c(kTitlePictureWidth, kTitlePictureHeight, kFine);
  DrawParchment(c);
  DrawSourceLines(c);
  DrawTitleText(c);
  DrawPenAtWork(c);
  return c.Resolve();
}

ArtImage RenderLogo() {
  Canvas c(kLogoWidth, kLogoHeight, kFine);
  c.VerticalGradient(0, 0, kLogoWidth, kLogoHeight, RGB(46, 70, 130), RGB(18, 30, 70));
  c.StrokePath(Frame(0.5, 0.5, kLogoWidth - 1, kLogoHeight - 1), RGB(12, 20, 48), 1.0);
  c.StrokePath(Frame(2.5, 2.5, kLogoWidth - 5, kLogoHeight - 5), RGB(200, 170, 96), 0.7);
  DrawQuill(c, QuillShape{{11, 42}, {40, 7}, 3, 7, 14}, kGoldQuill);
  DrawTeXMark(c, 48, 5, ArtFont{kSerif, 15, FW_BOLD}, RGB(226, 196, 118));
  c.Text(47, 17, "Quillet", ArtFont{kSerif, 25, FW_BOLD, true}, RGB(250, 244, 228));
  return c.Resolve();
}

// A blank page with the first lines of a skeleton on a night-blue ground, the pen over it.
ArtImage RenderWizardPicture() {
  constexpr int w = kWizardPictureWidth, h = kWizardPictureHeight;
  Canvas c(w, h, kFine);
  c.VerticalGradient(0, 0, w, h, RGB(46, 70, 130), RGB(18, 30, 70));
  c.StrokePath(Frame(2.5, 2.5, w - 5, h - 5), RGB(200, 170, 96), 0.7);
  c.FillPath(Frame(22, 30, 84, 118), RGB(10, 18, 44));  // the page's shadow
  c.VerticalGradient(18, 26, 84, 118, RGB(255, 253, 246), RGB(238, 230, 208));
  static const char* const kLines[] = {"\\documentclass", "{jsarticle}", "\\title{}", "\\begin{document}", "\\maketitle"};
  double y = 36;
  for (const char* line : kLines) {
    c.Text(24, y, line, ArtFont{kFixed, 8}, RGB(120, 110, 90));
    y += 11;
  }
  DrawQuill(c, QuillShape{{70, 128}, {120, 60}, 5, 10, 24}, kGoldQuill);
  c.Text(14, 164, "文書作成", ArtFont{kSerif, 20, FW_BOLD}, RGB(250, 244, 228));
  c.Text(14, 188, "ｳｨｻﾞｰﾄﾞ", ArtFont{kSerif, 14}, RGB(226, 196, 118));
  return c.Resolve();
}

const ArtImage& TitlePicture() {
  static const ArtImage picture = RenderTitlePicture();
  return picture;
}

const ArtImage& Logo() {
  static const ArtImage logo = RenderLogo();
  return logo;
}

}  // namespace

void PrepareTitleArtwork() {
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void*) -> DWORD {
        TitlePicture();
        Logo();
        return 0;
      },
      nullptr, 0, nullptr);
  if (thread) CloseHandle(thread);
}

void PaintTitlePicture(HDC dc, int x, int y) { DrawArtImage(dc, x, y, TitlePicture()); }

void PaintLogo(HDC dc, int x, int y) { DrawArtImage(dc, x, y, Logo()); }

void PaintWizardPicture(HDC dc, int x, int y) {
  static const ArtImage picture = RenderWizardPicture();
  DrawArtImage(dc, x, y, picture);
}

}  // namespace quillet
