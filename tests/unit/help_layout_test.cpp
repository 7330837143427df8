#include "help/help_layout.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// One pixel per single-byte character, two per double-byte character.
int CellWidth(std::string_view ch) { return static_cast<int>(ch.size()); }

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += "[" + line + "]";
  return out;
}

TEST(HelpLayoutTest, WrapTextBreaksByTheJapaneseRules) {
  struct Row { const char* name; const char* text; int width; const char* expected; } rows[] = {
      {"fits on one line", "あいう", 6, "[あいう]"},
      {"breaks between kana", "あいうえお", 6, "[あいう][えお]"},
      {"a full stop never starts a line", "あいう。え", 6, "[あい][う。え]"},
      {"a comma never starts a line", "あいう、", 6, "[あい][う、]"},
      {"small kana stays with its mora", "あいうっ", 6, "[あい][うっ]"},
      {"prolonged sound mark stays", "ルールー", 6, "[ルー][ルー]"},
      {"an opening bracket never ends a line", "あい「う」", 8, "[あい][「う」]"},
      {"an ascii word is not broken", "abc defgh", 6, "[abc][defgh]"},
      {"a too wide word is cut", "abcdefghij", 4, "[abcd][efgh][ij]"},
      {"breaks between kanji and ascii", "設定はTeXで", 8, "[設定は][TeXで]"},
      {"brackets stay with an ascii word", "あい(TeX)", 6, "[あい][(TeX)]"},
      {"blanks at a soft break go", "abc   def", 4, "[abc][def]"},
      {"leading blanks of a line stay", "  Ctrl+F 検索", 20, "[  Ctrl+F 検索]"},
      {"hard breaks and empty lines stay", "一\r\n\r\n二\n三", 20, "[一][][二][三]"},
      {"half-width small kana stays", "ﾌｧｲﾙ", 2, "[ﾌｧ][ｲﾙ]"},
      {"voicing mark stays with its kana", "ｴﾃﾞｨﾀ", 3, "[ｴ][ﾃﾞｨ][ﾀ]"},
      {"double-byte characters are whole", "表示", 3, "[表][示]"},
      {"one character per line at least", "あい", 1, "[あ][い]"},
      {"empty text is one empty line", "", 10, "[]"},
  };
  for (auto r : rows) EXPECT_EQ(Joined(WrapText(r.text, r.width, CellWidth)), r.expected) << r.name;
}

// Eight pixels a byte, as the fixed-pitch font of a pop-up draws them.
int EightPixels(std::string_view ch) { return 8 * static_cast<int>(ch.size()); }

TEST(HelpLayoutTest, BlanksNeverBecomeLinesOfTheirOwn) {
  const std::string fifty(50, ' ');
  struct Row { const char* name; std::string text; int width; const char* expected; } rows[] = {
      {"an indent wider than the line goes", "     B", 17, "[B]"},
      {"an indent the first word does not fit beside goes", fifty + "example", 420, "[example]"},
      {"an indent before a word cut to the width goes", "  abcdefgh", 32, "[abcd][efgh]"},
      {"an indent the first word fits beside stays", "  ab cd", 40, "[  ab][cd]"},
      {"blanks past the end of the last word go", "abc      \nd", 32, "[abc][d]"},
      {"a line of blanks alone is one empty line", "      \nB", 17, "[][B]"},
      {"a broken character whose trail byte is a blank stays whole", "ab\x82  cd", 40, "[ab\x82 ][cd]"},
  };
  for (const auto& r : rows) EXPECT_EQ(Joined(WrapText(r.text, r.width, EightPixels)), r.expected) << r.name;
}

TEST(HelpLayoutTest, WrappedLinesNeverExceedTheWidthUnlessOneCharacterDoes) {
  const std::string text =
      "環境設定ダイアログでは、バックアップ、自動保存の間隔、エディタのフォントと"
      "サイズ、使うTeXとDVI表示ソフトを設定します。「OK」を押すと変更したページが"
      "quillet.iniに書き込まれます。";
  for (int width = 2; width <= 40; ++width) {
    std::string rejoined;
    for (const std::string& line : WrapText(text, width, CellWidth)) {
      EXPECT_LE(TextWidth(line, CellWidth), width) << "width " << width << ": " << line;
      rejoined += line;
    }
    EXPECT_EQ(rejoined, text) << "width " << width;  // no blank in it, so nothing is lost
  }
}

TEST(HelpLayoutTest, PopupSitsUnderTheCursorAndStaysInTheWorkArea) {
  const PixelRect screen{0, 0, 1280, 800};
  const PixelRect right_monitor{1280, 0, 2560, 1024};
  struct Row { const char* name; PixelPoint cursor; int w, h; PixelRect work; PixelPoint expected; } rows[] = {
      {"centred below", {640, 400}, 300, 100, screen, {490, 420}},
      {"pushed left at the right edge", {1270, 400}, 300, 100, screen, {980, 420}},
      {"pushed right at the left edge", {5, 400}, 300, 100, screen, {0, 420}},
      {"above the cursor near the bottom", {640, 780}, 300, 100, screen, {490, 676}},
      {"taller than the screen starts at its top", {640, 10}, 300, 900, screen, {490, 0}},
      {"on a second monitor", {1290, 1000}, 300, 100, right_monitor, {1280, 896}},
  };
  for (auto r : rows) {
    PixelPoint at = PlacePopup(r.cursor, r.w, r.h, r.work);
    EXPECT_EQ(at.x, r.expected.x) << r.name;
    EXPECT_EQ(at.y, r.expected.y) << r.name;
  }
}

}  // namespace
}  // namespace quillet
