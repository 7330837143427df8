#include "help/help_layout.h"

#include <algorithm>

#include "core/sjis.h"

namespace quillet {

namespace {

// Characters that must not begin a line (closing punctuation, prolonged-sound and
// iteration marks, small kana, half-width voicing marks) and that must not end one.
constexpr std::string_view kNoLineStart =
    "、。，．・：；？！゛゜ヽヾゝゞ々ー）］｝」』】〉》〕’”"
    "ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ"
    ")]},.;:!?%｡｣､･ｰﾞﾟｧｨｩｪｫｬｭｮｯ";
constexpr std::string_view kNoLineEnd = "（［｛「『【〈《〔‘“([{｢";

// A set of characters, looked up by their bytes read as one number: every piece of a
// line is tested against both sets.
class CharSet {
 public:
  explicit CharSet(std::string_view chars) {
    for (std::size_t i = 0; i < chars.size(); i += CharLength(chars, i)) {
      codes_.push_back(Code(chars.substr(i, CharLength(chars, i))));
    }
    std::sort(codes_.begin(), codes_.end());
  }
  bool Contains(std::string_view ch) const { return std::binary_search(codes_.begin(), codes_.end(), Code(ch)); }

 private:
  static unsigned Code(std::string_view ch) {
    unsigned code = 0;
    for (unsigned char c : ch) code = code << 8 | c;
    return code;
  }
  std::vector<unsigned> codes_;
};

bool NeverStartsALine(std::string_view ch) {
  static const CharSet set(kNoLineStart);
  return set.Contains(ch);
}

bool NeverEndsALine(std::string_view ch) {
  static const CharSet set(kNoLineEnd);
  return set.Contains(ch);
}

bool IsAsciiGraphic(char c) { return c > 0x20 && c < 0x7F; }

// A piece of a line that is never broken inside: a run of blanks, an ASCII word, or
// one other character, with the pieces that the line-break rules bind to it.
struct Piece {
  std::size_t begin = 0, end = 0;
  std::size_t last_char = 0;  // start of the piece's last character
  bool blank = false;
};

Piece NextUnit(std::string_view line, std::size_t i) {
  std::size_t end = i + CharLength(line, i);
  if (line[i] == ' ') {
    while (end < line.size() && line[end] == ' ') ++end;
    return {i, end, end - 1, true};
  }
  if (IsAsciiGraphic(line[i])) {
    while (end < line.size() && IsAsciiGraphic(line[end])) ++end;
    return {i, end, end - 1, false};
  }
  return {i, end, i, false};
}

std::vector<Piece> SplitPieces(std::string_view line) {
  std::vector<Piece> pieces;
  for (std::size_t i = 0; i < line.size();) {
    Piece unit = NextUnit(line, i);
    i = unit.end;
    if (!pieces.empty() && !unit.blank && !pieces.back().blank) {
      Piece& last = pieces.back();
      std::string_view first = line.substr(unit.begin, CharLength(line, unit.begin));
      std::string_view tail = line.substr(last.last_char, CharLength(line, last.last_char));
      if (NeverStartsALine(first) || NeverEndsALine(tail)) {
        last.end = unit.end;
        last.last_char = unit.last_char;
        continue;
      }
    }
    pieces.push_back(unit);
  }
  return pieces;
}

class LineFiller {
 public:
  LineFiller(int max_width, const CharWidth& width, std::vector<std::string>& out)
      : max_width_(max_width), width_(width), out_(out) {}

  void Fill(std::string_view line) {
    for (const Piece& piece : SplitPieces(line)) {
      std::string_view text = line.substr(piece.begin, piece.end - piece.begin);
      int w = TextWidth(text, width_);
      if (piece.blank) {
        // Blanks that open a wrapped line, or that do not fit, are a soft break and go.
        if (wrapped_ && line_.empty()) continue;
        if (line_width_ + w <= max_width_) Append(text, w); else SoftBreak();
        continue;
      }
      if (line_width_ + w > max_width_) SoftBreak();
      if (line_width_ + w <= max_width_) Append(text, w); else AppendByCharacters(text);
    }
    HardBreak();
  }

 private:
  void Append(std::string_view text, int w) {
    line_ += text;
    line_width_ += w;
    if (text.front() != ' ') text_end_ = line_.size();
  }

  // A piece wider than a whole line is cut where it must be, at least one character
  // to a line.
  void AppendByCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
      std::string_view ch = text.substr(i, CharLength(text, i));
      int w = width_(ch);
      if (line_width_ + w > max_width_) SoftBreak();
      Append(ch, w);
    }
  }

  // Ends a line where it is too full. A line of blanks alone is an indent that met a
  // piece too wide to follow it: it goes as blanks at any soft break do, and never makes
  // an empty line.
  void SoftBreak() {
    if (text_end_) Emit();
    line_.clear();
    line_width_ = 0;
    wrapped_ = true;
  }

  // Ends a line of the text: it gives at least one line, empty when it holds no text.
  void HardBreak() {
    if (text_end_ || !emitted_) Emit();
    line_.clear();
    line_width_ = 0;
    wrapped_ = emitted_ = false;
  }

  // The line without the blanks after its text: cut where the text ends, not bytewise,
  // since a broken file may hold a double-byte character whose trail byte is a blank.
  void Emit() {
    line_.resize(text_end_);
    out_.push_back(std::move(line_));
    line_.clear();
    text_end_ = 0;
    emitted_ = true;
  }

  int max_width_;
  const CharWidth& width_;
  std::vector<std::string>& out_;
  std::string line_;
  int line_width_ = 0;
  std::size_t text_end_ = 0;  // where the line's text ends, before its blanks (0: none)
  bool wrapped_ = false;     // a soft break came before in this line of the text
  bool emitted_ = false;     // this line of the text has given a line already
};

}  // namespace

int TextWidth(std::string_view text, const CharWidth& width) {
  int total = 0;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) total += width(text.substr(i, CharLength(text, i)));
  return total;
}

std::vector<std::string> WrapText(std::string_view text, int max_width, const CharWidth& width) {
  std::vector<std::string> lines;
  LineFiller filler(max_width, width, lines);
  for (;;) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    filler.Fill(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

PixelPoint PlacePopup(PixelPoint cursor, int width, int height, const PixelRect& work_area) {
  constexpr int kBelowCursor = 20;  // clear of the arrow's tip and tail
  constexpr int kAboveCursor = 4;
  PixelPoint at{cursor.x - width / 2, cursor.y + kBelowCursor};
  if (at.y + height > work_area.bottom) at.y = cursor.y - kAboveCursor - height;
  at.x = std::max(work_area.left, std::min(at.x, work_area.right - width));
  at.y = std::max(work_area.top, std::min(at.y, work_area.bottom - height));
  return at;
}

}  // namespace quillet
