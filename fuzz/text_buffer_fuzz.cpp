// TextBuffer against a plain string: edits, selections, undo, search, line requests, caret
// and word moves decoded from the input and driven as the editor drives them. After every
// step both hold the same text, lines, selection, modify flag and undo depth; the
// selection lies on character boundaries of the text; and an edit either leaves every
// character outside its range as the user saw it or changes nothing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text_buffer.h"
#include "core/text_requests.h"
#include "core/text_words.h"
#include "fuzz/fuzz_checks.h"

namespace {

using quillet::CharClass;
using quillet::TextBuffer;
using quillet::TextChange;

constexpr std::size_t kNo = TextBuffer::kNoPos;

using fuzz_checks::Require;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // A number below n (n > 0): one byte, two for bigger n.
  std::size_t Below(std::size_t n) {
    std::size_t v = Byte();
    if (n > 200) v = v << 8 | Byte();
    return v % n;
  }
  // A position for a request: -1 now and then, else up to two past the end.
  long Position(std::size_t size) { return static_cast<long>(Below(size + 4)) - 1; }
  std::string Bytes(std::size_t most) {
    std::size_t n = Below(most + 1);
    std::string s;
    while (n-- > 0 && !empty()) s += static_cast<char>(Byte());
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// --- The model's own reading of Shift-JIS text, from its first byte.
bool Lead(char c) {
  auto u = static_cast<unsigned char>(c);
  return (u >= 0x81 && u <= 0x9F) || (u >= 0xE0 && u <= 0xFC);
}

// Length of the character at text[i].
std::size_t LengthAt(std::string_view text, std::size_t i) {
  if (i + 1 < text.size() &&
      ((text[i] == '\r' && text[i + 1] == '\n') || (Lead(text[i]) && static_cast<unsigned char>(text[i + 1]) >= 0x40))) {
    return 2;
  }
  return 1;
}

// Character starts, and the end of the text last.
void Starts(std::string_view text, std::vector<std::size_t>& starts) {
  starts.clear();
  for (std::size_t i = 0; i < text.size(); i += LengthAt(text, i)) starts.push_back(i);
  starts.push_back(text.size());
}

// Whether text reads as the same characters as its pieces [0, a), [a, b), [b, end) each
// read on its own.
bool ReadsAsPieces(std::string_view text, std::size_t a, std::size_t b) {
  const std::size_t ends[] = {a, b, text.size()};
  std::size_t i = 0, from = 0;
  for (std::size_t end : ends) {
    std::string_view piece = text.substr(from, end - from);
    for (std::size_t k = 0; k < piece.size(); k += LengthAt(piece, k), i += LengthAt(text, i)) {
      if (i != from + k || LengthAt(piece, k) != LengthAt(text, i)) return false;
    }
    from = end;
  }
  return i == text.size();
}

std::string CrLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

enum Kind { kTyping, kBackspace, kDelete, kOther };

struct State {
  std::string text;
  std::size_t anchor, caret;
};

struct Model {
  std::string text;
  std::size_t anchor = 0, caret = 0;
  bool modified = false;
  std::size_t limit = TextBuffer::kDefaultLimit;
  std::deque<State> undo;
  int joining = -1;  // the kind of step that the next edit of the same kind joins

  std::vector<std::size_t> starts;  // of text, kept current
  std::vector<std::size_t> lines;   // line starts

  void Refresh() {
    Starts(text, starts);
    lines.assign(1, 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') lines.push_back(i + 1);
    }
  }
  std::size_t SelStart() const { return std::min(anchor, caret); }
  std::size_t SelEnd() const { return std::max(anchor, caret); }
  std::size_t Index(std::size_t boundary) const {
    return static_cast<std::size_t>(std::lower_bound(starts.begin(), starts.end(), boundary) - starts.begin());
  }
  bool IsBoundary(std::size_t pos) const { return std::binary_search(starts.begin(), starts.end(), pos); }
  std::size_t Snap(std::size_t pos) const {
    pos = std::min(pos, text.size());
    return *(std::upper_bound(starts.begin(), starts.end(), pos) - 1);
  }
  std::size_t Next(std::size_t pos) const {
    std::size_t i = Index(pos);
    return i + 1 < starts.size() ? starts[i + 1] : text.size();
  }
  std::size_t Prev(std::size_t pos) const {
    std::size_t i = Index(pos);
    return i > 0 ? starts[i - 1] : 0;
  }
  std::size_t LineOf(std::size_t pos) const {
    return static_cast<std::size_t>(std::upper_bound(lines.begin(), lines.end(), pos) - lines.begin()) - 1;
  }
  std::size_t LineEnd(std::size_t line) const { return line + 1 < lines.size() ? lines[line + 1] - 2 : text.size(); }

  void Select(std::size_t a, std::size_t c) {
    anchor = Snap(a);
    caret = Snap(c);
    joining = -1;
  }

  // The edit as the rule has it: the insertion is cut to the limit at one of its own
  // character boundaries, and goes in only if the characters of the result are those of
  // the text before it, the insertion and the text after it, each read on its own.
  void Edit(std::size_t begin, std::size_t end, std::string_view raw, Kind kind, bool undoable,
            const TextChange& got) {
    std::string inserted = CrLf(raw);
    std::size_t kept = text.size() - (end - begin);
    std::size_t room = limit > kept ? limit - kept : 0;
    std::size_t fits = 0;
    for (std::size_t i = 0; i < inserted.size() && i + LengthAt(inserted, i) <= room;) fits = i += LengthAt(inserted, i);
    Require(got.truncated == (fits < inserted.size()));
    inserted.resize(fits);
    if (begin == end && inserted.empty()) {
      Require(!got.changed);
      return;
    }
    std::string result = text.substr(0, begin) + inserted + text.substr(end);
    if (!ReadsAsPieces(result, begin, begin + inserted.size())) {
      Require(!got.changed);
      return;
    }
    Require(got.changed && got.pos == begin && got.inserted == inserted.size() && got.removed == end - begin);
    if (!undoable) {
      undo.clear();
    } else if (joining != kind || kind == kOther || undo.empty()) {
      undo.push_back({text, anchor, caret});
      if (undo.size() > TextBuffer::kUndoDepth) undo.pop_front();
    }
    text = std::move(result);
    anchor = caret = begin + inserted.size();
    modified = true;
    joining = undoable && kind != kOther ? kind : -1;
    Refresh();
  }

  void Undo(const TextChange& got) {
    Require(got.changed == !undo.empty());
    if (undo.empty()) return;
    State& s = undo.back();
    text = std::move(s.text);
    anchor = s.anchor;
    caret = s.caret;
    undo.pop_back();
    modified = true;
    joining = -1;
    Refresh();
  }

  // The first match of needle made of whole characters of the text.
  std::size_t Find(std::string_view needle, std::size_t begin, std::size_t end, bool match_case) const {
    end = std::min(end, text.size());
    if (needle.empty()) return kNo;
    for (std::size_t p : starts) {
      if (p < begin || p + needle.size() > end || !IsBoundary(p + needle.size())) continue;
      bool same = true;
      for (std::size_t i = 0, n; i < needle.size(); i += n) {
        n = LengthAt(needle, i);
        for (std::size_t k = i; k < i + n; ++k) {
          char want = needle[k], have = text[p + k];
          same = same && (n == 1 && !match_case ? Fold(want) == Fold(have) : want == have);
        }
      }
      if (same) return p;
    }
    return kNo;
  }
};

// --- Words over the model's characters (classes of single characters from the buffer).
struct Words {
  const Model& m;
  const TextBuffer& b;
  CharClass Class(std::size_t i) const {
    return i + 1 < m.starts.size() ? quillet::ClassAt(b, m.starts[i]) : CharClass::kBreak;
  }
  std::size_t Count() const { return m.starts.size() - 1; }
  static bool SameRun(CharClass a, CharClass c) { return a == c && a != CharClass::kBreak; }
  std::size_t Next(std::size_t pos) const {
    if (pos >= m.text.size()) return m.text.size();
    std::size_t i = m.Index(pos);
    CharClass c = Class(i++);
    if (c != CharClass::kBlank) {
      while (i < Count() && SameRun(Class(i), c)) ++i;
    }
    while (i < Count() && Class(i) == CharClass::kBlank) ++i;
    return m.starts[i];
  }
  std::size_t Prev(std::size_t pos) const {
    std::size_t i = m.Index(m.Snap(pos));
    while (i > 0 && Class(i - 1) == CharClass::kBlank) --i;
    if (i == 0) return 0;
    CharClass c = Class(--i);
    while (i > 0 && SameRun(Class(i - 1), c)) --i;
    return m.starts[i];
  }
  std::pair<std::size_t, std::size_t> Around(std::size_t pos) const {
    std::size_t i = m.Index(m.Snap(pos));
    if (Class(i) == CharClass::kBreak && i > 0 && Class(i - 1) != CharClass::kBreak) --i;
    CharClass c = Class(i);
    if (c == CharClass::kBreak) return {m.starts[i], m.starts[i]};
    std::size_t first = i, last = i + 1;
    while (first > 0 && Class(first - 1) == c) --first;
    while (last < Count() && Class(last) == c) ++last;
    return {m.starts[first], m.starts[last]};
  }
};

void CheckSame(const TextBuffer& b, const Model& m) {
  auto pieces = b.Pieces();
  std::string_view text = m.text;
  Require(b.size() == text.size() && pieces[0] == text.substr(0, pieces[0].size()) &&
          pieces[1] == text.substr(pieces[0].size()));
  Require(b.anchor() == m.anchor && b.caret() == m.caret);
  Require(m.IsBoundary(b.anchor()) && m.IsBoundary(b.caret()));
  Require(b.modified() == m.modified && b.CanUndo() == !m.undo.empty());
  for (std::size_t i = 0; i + 1 < m.starts.size(); ++i) {
    Require(b.CharLength(m.starts[i]) == m.starts[i + 1] - m.starts[i]);
  }
  Require(b.LineCount() == m.lines.size() && b.LineStart(m.lines.size()) == kNo);
  for (std::size_t line = 0; line < m.lines.size(); ++line) {
    Require(b.LineStart(line) == m.lines[line] && b.LineEnd(line) == m.LineEnd(line));
    Require(b.LineOf(m.lines[line]) == line && b.LineOf(m.LineEnd(line)) == line);
  }
}

// What the editor's arrow, Home and End keys do: the target, then the selection (the
// anchor kept with Shift).
std::size_t MoveTarget(Input& in, bool shift, const TextBuffer& b, const Model& m, const Words& w) {
  bool ctrl = in.Byte() & 1;
  bool collapse = !shift && !ctrl;  // a plain arrow ends a selection at its side
  std::size_t line = m.LineOf(m.caret);
  switch (in.Below(6)) {
    case 0: {  // Left
      std::size_t got = b.HasSelection() && collapse ? b.SelStart() : ctrl ? quillet::PrevWordStart(b, b.caret()) : b.PrevChar(b.caret());
      Require(got == (m.anchor != m.caret && collapse ? m.SelStart() : ctrl ? w.Prev(m.caret) : m.Prev(m.caret)));
      return got;
    }
    case 1: {  // Right
      std::size_t got = b.HasSelection() && collapse ? b.SelEnd() : ctrl ? quillet::NextWordStart(b, b.caret()) : b.NextChar(b.caret());
      Require(got == (m.anchor != m.caret && collapse ? m.SelEnd() : ctrl ? w.Next(m.caret) : m.Next(m.caret)));
      return got;
    }
    case 2: return ctrl ? 0 : b.LineStart(line);
    case 3: return ctrl ? b.size() : b.LineEnd(line);
    default: {  // Up and Down to a column, stepping a character at a time as the view does
      std::size_t target = in.Byte() & 1 ? (line > 0 ? line - 1 : 0) : std::min(line + 1, m.lines.size() - 1);
      std::size_t column = in.Below(64), pos = b.LineStart(target);
      while (pos < b.LineEnd(target) && pos - m.lines[target] < column) pos = b.NextChar(pos);
      Require(m.IsBoundary(pos) && pos <= m.LineEnd(target));
      return pos;
    }
  }
}

void CheckRequests(Input& in, const TextBuffer& b, const Model& m) {
  const std::size_t size = m.text.size();
  long pos = in.Position(size), line = in.Position(m.lines.size());
  std::size_t at = pos < 0 ? m.SelStart() : std::min(static_cast<std::size_t>(pos), size);
  Require(quillet::LineFromCharRequest(b, pos) == static_cast<long>(m.LineOf(at)));
  std::size_t which = line < 0 ? m.LineOf(m.caret) : static_cast<std::size_t>(line);
  Require(quillet::LineIndexRequest(b, line) == (which < m.lines.size() ? static_cast<long>(m.lines[which]) : -1));
  long length;
  if (pos >= 0) {
    length = static_cast<long>(m.LineEnd(m.LineOf(at)) - m.lines[m.LineOf(at)]);
  } else {
    std::size_t first = m.LineOf(m.SelStart()), last = m.LineOf(m.SelEnd());
    length = static_cast<long>(m.SelStart() - m.lines[first] + m.LineEnd(last) - std::min(m.SelEnd(), m.LineEnd(last)));
  }
  Require(quillet::LineLengthRequest(b, pos) == length);
  std::string line_text = line >= 0 && static_cast<std::size_t>(line) < m.lines.size()
                              ? m.text.substr(m.lines[line], m.LineEnd(line) - m.lines[line])
                              : "";
  Require(quillet::LineTextRequest(b, line) == line_text);
  long other = in.Position(size);
  std::size_t from = pos < 0 ? 0 : static_cast<std::size_t>(pos), to = other < 0 ? size : static_cast<std::size_t>(other);
  to = std::min(to, size);
  from = std::min(from, to);
  Require(quillet::TextRangeRequest(b, pos, other) == m.text.substr(from, to - from));
  Require(quillet::PackedSelection(b) ==
          (m.SelEnd() > 0xFFFF ? -1 : static_cast<std::int64_t>(m.SelStart() | m.SelEnd() << 16)));
  std::size_t probe = in.Below(size + 3);
  Require(b.SnapBack(probe) == m.Snap(probe));
  if (m.IsBoundary(probe)) Require(b.NextChar(probe) == m.Next(probe) && b.PrevChar(probe) == m.Prev(probe));
}

std::string Needle(Input& in, const Model& m) {
  if (in.Byte() & 1 && !m.text.empty()) {
    std::size_t from = in.Below(m.text.size());
    return m.text.substr(from, 1 + in.Below(6));
  }
  return in.Bytes(4);
}

void CheckFind(Input& in, const TextBuffer& b, const Model& m) {
  const std::size_t size = m.text.size();
  bool match_case = in.Byte() & 1;
  std::string needle = Needle(in, m), other = Needle(in, m);
  if (in.Byte() & 1 && !needle.empty() && !other.empty()) other[0] = needle[0] ^ (in.Byte() & 0x20);
  long min = in.Position(size), max = in.Position(size);
  std::size_t begin = min < 0 ? 0 : static_cast<std::size_t>(min), end = max < 0 ? size : static_cast<std::size_t>(max);
  std::size_t one = m.Find(needle, begin, end, match_case), two = m.Find(other, begin, end, match_case);
  long found = quillet::FindRequest(b, needle, min, max, match_case);
  Require(found == (one == kNo ? -1 : static_cast<long>(one)));
  const std::string_view both[] = {needle, other};
  std::size_t index = 9;
  long first = quillet::FindAnyRequest(b, both, min, max, match_case, index);
  std::size_t best = std::min(one, two);
  Require(first == (best == kNo ? -1 : static_cast<long>(best)));
  if (best != kNo) Require(index == (one == best ? 0u : 1u));
}

void Load(Input& in, TextBuffer& b, Model& m) {
  std::string raw = in.Bytes(in.Byte() & 1 ? 255 : 40);
  if (in.Byte() & 1) {
    quillet::TextBlock block{std::make_unique<char[]>(raw.size() + 8), raw.size(), raw.size() + 8};
    std::copy(raw.begin(), raw.end(), block.data.get());
    b.AdoptText(std::move(block));
  } else {
    b.SetText(raw);
  }
  m.text = CrLf(raw);
  m.anchor = m.caret = 0;
  m.modified = false;
  m.undo.clear();
  m.joining = -1;
  m.Refresh();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  TextBuffer b;
  Model m;
  Load(in, b, m);
  CheckSame(b, m);
  for (int step = 0; step < 200 && !in.empty(); ++step) {
    Words w{m, b};
    switch (in.Byte() % 16) {
      case 0: {  // typed: a character, a lead byte with the next, Enter, Tab
        std::string chars = in.Bytes(2);
        m.Edit(m.SelStart(), m.SelEnd(), chars, kTyping, true, b.Type(chars));
        break;
      }
      case 1: {  // Backspace
        std::size_t begin = m.anchor != m.caret ? m.SelStart() : m.Prev(m.caret);
        std::size_t end = m.anchor != m.caret ? m.SelEnd() : m.caret;
        m.Edit(begin, end, {}, kBackspace, true, b.DeleteBackward());
        break;
      }
      case 2: {  // Delete
        std::size_t begin = m.anchor != m.caret ? m.SelStart() : m.caret;
        std::size_t end = m.anchor != m.caret ? m.SelEnd() : m.Next(m.caret);
        m.Edit(begin, end, {}, kDelete, true, b.DeleteForward());
        break;
      }
      case 3: {  // paste: the clipboard's text up to its NUL
        std::string text = in.Bytes(24);
        text = text.substr(0, text.find('\0'));
        m.Edit(m.SelStart(), m.SelEnd(), text, kOther, true, b.ReplaceSelection(text, true));
        break;
      }
      case 4: {  // EM_REPLACESEL, undoable or not
        bool undoable = in.Byte() & 1;
        std::string text = in.Bytes(12);
        m.Edit(m.SelStart(), m.SelEnd(), text, kOther, undoable, b.ReplaceSelection(text, undoable));
        break;
      }
      case 5: {  // cut or clear
        if (m.anchor == m.caret) break;
        m.Edit(m.SelStart(), m.SelEnd(), {}, kOther, true, b.ReplaceSelection({}, true));
        break;
      }
      case 6: {  // EM_SETSEL
        long start = in.Position(m.text.size()), end = in.Position(m.text.size());
        quillet::SetSelectionRequest(b, start, end);
        if (start < 0) {
          m.Select(m.caret, m.caret);
        } else {
          m.Select(static_cast<std::size_t>(start), end < 0 ? m.text.size() : static_cast<std::size_t>(end));
        }
        break;
      }
      case 7: {  // a selection from anywhere, past the end too
        std::size_t anchor = in.Below(m.text.size() + 3), caret = in.Below(m.text.size() + 3);
        b.Select(anchor, caret);
        m.Select(anchor, caret);
        break;
      }
      case 8: m.Undo(b.Undo()); break;
      case 9:
        b.EmptyUndo();
        m.undo.clear();
        m.joining = -1;
        break;
      case 10: {
        bool modified = in.Byte() & 1;
        b.set_modified(modified);
        m.modified = modified;
        break;
      }
      case 11: {  // a key that moves the caret
        bool shift = in.Byte() & 1;
        std::size_t target = MoveTarget(in, shift, b, m, w);
        std::size_t anchor = shift ? m.anchor : target;
        b.Select(shift ? b.anchor() : target, target);
        m.Select(anchor, target);
        break;
      }
      case 12: {  // double-click, and Ctrl+Left from anywhere
        std::size_t pos = in.Below(m.text.size() + 3);
        auto got = quillet::WordAround(b, pos);
        Require(got == w.Around(pos));
        Require(quillet::PrevWordStart(b, pos) == w.Prev(pos));
        b.Select(got.first, got.second);
        m.Select(got.first, got.second);
        break;
      }
      case 13: CheckFind(in, b, m); break;
      case 14: CheckRequests(in, b, m); break;
      default:
        if (in.Byte() & 1) {
          std::size_t limit = in.Below(64) + (in.Byte() & 1 ? m.text.size() : 0);
          b.set_limit(limit);
          m.limit = limit;
        } else {
          Load(in, b, m);
        }
        break;
    }
    CheckSame(b, m);
  }
  Require(b.Text() == m.text);
  return 0;
}
