#include "core/text_buffer.h"

#include <algorithm>
#include <cstring>

#include "core/byte_scan.h"
#include "core/sjis.h"

namespace quillet {

namespace {

// A lead byte forms a double-byte character only with a following byte that can be a
// trail byte (0x40 and up); before a break or a control byte it stands alone.
bool IsTrailByte(char c) { return static_cast<unsigned char>(c) >= 0x40; }

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::size_t LoneBreaks(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
    } else if (text[i] == '\r' || text[i] == '\n') {
      ++n;
    }
  }
  return n;
}

char* WriteNormalized(std::string_view text, char* out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      *out++ = '\r';
      *out++ = '\n';
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      *out++ = c;
    }
  }
  return out;
}

// Length of the character at text[i] by the same rules as the buffer's.
std::size_t PieceCharLength(std::string_view text, std::size_t i) {
  if (i + 1 >= text.size()) return 1;
  if (text[i] == '\r' && text[i + 1] == '\n') return 2;
  return IsLeadByte(text[i]) && IsTrailByte(text[i + 1]) ? 2 : 1;
}

}  // namespace

std::string NormalizeBreaks(std::string_view text) {
  std::string out(text.size() + LoneBreaks(text), '\0');
  WriteNormalized(text, out.data());
  return out;
}

TextBuffer::TextBuffer() { text_.Reset(0); }

std::string TextBuffer::Substr(std::size_t begin, std::size_t end) const {
  end = std::min(end, size());
  begin = std::min(begin, end);
  return text_.Substr(begin, end - begin);
}

// --- Characters

std::size_t TextBuffer::CharLength(std::size_t pos) const {
  if (pos + 1 >= size()) return 1;
  if (text_[pos] == '\r' && text_[pos + 1] == '\n') return 2;
  return IsLeadByte(text_[pos]) && IsTrailByte(text_[pos + 1]) ? 2 : 1;
}

std::size_t TextBuffer::SnapBack(std::size_t pos) const {
  if (pos >= size()) return size();
  if (pos == 0) return 0;
  if (text_[pos] == '\n' && text_[pos - 1] == '\r') return pos - 1;
  // The byte before a run of lead-range bytes always ends a character, and inside the
  // run characters pair up from its start.
  std::size_t run_start = pos;
  while (run_start > 0 && IsLeadByte(text_[run_start - 1])) --run_start;
  bool odd = (pos - run_start) % 2 == 1;
  return odd && IsTrailByte(text_[pos]) ? pos - 1 : pos;
}

std::size_t TextBuffer::NextChar(std::size_t pos) const {
  return pos >= size() ? size() : pos + CharLength(pos);
}

std::size_t TextBuffer::PrevChar(std::size_t pos) const {
  pos = std::min(pos, size());
  if (pos == 0) return 0;
  if (pos >= 2 && IsBreakAt(pos - 2)) return pos - 2;
  return SnapBack(pos - 1);
}

// --- Lines

std::size_t TextBuffer::LineStart(std::size_t line) const {
  if (line == 0) return 0;
  return line < LineCount() ? lines_.Start(line - 1, size()) : kNoPos;
}

std::size_t TextBuffer::LineEnd(std::size_t line) const {
  return line + 1 < LineCount() ? lines_.Start(line, size()) - 2 : size();
}

// --- Selection

void TextBuffer::Select(std::size_t anchor, std::size_t caret) {
  anchor_ = SnapBack(anchor);
  caret_ = SnapBack(caret);
  coalescing_ = false;
}

// --- Editing

void TextBuffer::SetText(std::string_view text) {
  // Texts from files are nearly always CR LF already: copy them as they stand.
  if (lines_.Reset(text)) {
    char* out = text_.Reset(text.size());
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
  } else {
    WriteNormalized(text, text_.Reset(text.size() + LoneBreaks(text)));
    lines_.Reset(text_.Front());
  }
  Loaded();
}

void TextBuffer::AdoptText(TextBlock block) {
  std::string_view text(block.data.get(), block.size);
  if (block.lines_counted) {
    lines_.Adopt(std::move(block.line_starts));
  } else if (!lines_.Reset(text)) {
    SetText(text);
    return;
  }
  text_.Adopt(std::move(block));
  Loaded();
}

void TextBuffer::Loaded() {
  anchor_ = caret_ = 0;
  modified_ = false;
  EmptyUndo();
}

void TextBuffer::Splice(std::size_t pos, std::size_t removed, std::string_view text) {
  lines_.Replace(pos, removed, text, size());
  text_.Erase(pos, removed);
  text_.Insert(pos, text);
}

std::string_view TextBuffer::FitToLimit(std::string_view text, std::size_t begin, std::size_t end) const {
  std::size_t kept = size() - (end - begin);
  if (kept + text.size() <= limit_) return text;
  std::size_t room = limit_ > kept ? limit_ - kept : 0;
  std::size_t n = 0;
  while (n < text.size()) {
    std::size_t len = PieceCharLength(text, n);
    if (n + len > room) break;
    n += len;
  }
  return text.substr(0, n);
}

bool TextBuffer::KeepsCharacters(std::size_t begin, std::size_t end, std::string_view text) const {
  const bool more = end < size();
  // The seam before the range: begin is a boundary, so a lead byte before it that starts a
  // character stands alone there.
  if (begin > 0 && (!text.empty() || more) && IsTrailByte(text.empty() ? text_[end] : text.front()) &&
      IsLeadByte(text_[begin - 1]) && SnapBack(begin - 1) == begin - 1) {
    return false;
  }
  // The seam after it: inside the inserted text lead-range bytes pair up from the start of
  // their run, so an odd run at its end leaves the last byte alone.
  if (!text.empty() && more && IsTrailByte(text_[end])) {
    std::size_t leads = 0;
    while (leads < text.size() && IsLeadByte(text[text.size() - 1 - leads])) ++leads;
    if (leads % 2 == 1) return false;
  }
  return true;
}

bool TextBuffer::Coalesces(StepKind kind, std::size_t begin, std::size_t end) const {
  if (!coalescing_ || undo_.empty() || undo_.back().kind != kind) return false;
  const UndoStep& last = undo_.back();
  switch (kind) {
    case StepKind::kTyping: return begin == end && begin == last.pos + last.inserted;
    case StepKind::kBackspace: return end == last.pos && last.inserted == 0;
    case StepKind::kDelete: return begin == last.pos && last.inserted == 0;
    case StepKind::kOther: return false;
  }
  return false;
}

void TextBuffer::Record(StepKind kind, std::size_t begin, std::size_t end, std::size_t inserted) {
  if (Coalesces(kind, begin, end)) {
    UndoStep& last = undo_.back();
    last.inserted += inserted;
    if (kind == StepKind::kBackspace) {
      last.removed.insert(0, Substr(begin, end));
      last.pos = begin;
    } else {
      last.removed += Substr(begin, end);
    }
    return;
  }
  undo_.push_back({kind, begin, Substr(begin, end), inserted, anchor_, caret_});
  if (undo_.size() > kUndoDepth) undo_.pop_front();
}

TextChange TextBuffer::Edit(std::size_t begin, std::size_t end, std::string_view text, StepKind kind, bool undoable) {
  TextChange change;
  std::string_view fitted = FitToLimit(text, begin, end);
  change.truncated = fitted.size() < text.size();
  if (begin == end && fitted.empty()) return change;
  if (!KeepsCharacters(begin, end, fitted)) {
    change.refused = true;
    return change;
  }
  if (undoable) {
    Record(kind, begin, end, fitted.size());
  } else {
    EmptyUndo();
  }
  Splice(begin, end - begin, fitted);
  anchor_ = caret_ = begin + fitted.size();
  modified_ = true;
  coalescing_ = undoable && kind != StepKind::kOther;
  change.changed = true;
  change.pos = begin;
  change.inserted = fitted.size();
  change.removed = end - begin;
  return change;
}

TextChange TextBuffer::ReplaceSelection(std::string_view text, bool undoable) {
  std::string normalized = NormalizeBreaks(text);
  return Edit(SelStart(), SelEnd(), normalized, StepKind::kOther, undoable);
}

TextChange TextBuffer::Type(std::string_view chars) {
  std::string normalized = NormalizeBreaks(chars);
  return Edit(SelStart(), SelEnd(), normalized, StepKind::kTyping, true);
}

TextChange TextBuffer::DeleteBackward() {
  if (HasSelection()) return Edit(SelStart(), SelEnd(), {}, StepKind::kBackspace, true);
  return Edit(PrevChar(caret_), caret_, {}, StepKind::kBackspace, true);
}

TextChange TextBuffer::DeleteForward() {
  if (HasSelection()) return Edit(SelStart(), SelEnd(), {}, StepKind::kDelete, true);
  return Edit(caret_, NextChar(caret_), {}, StepKind::kDelete, true);
}

// --- Undo

TextChange TextBuffer::Undo() {
  if (undo_.empty()) return {};
  UndoStep step = std::move(undo_.back());
  undo_.pop_back();
  Splice(step.pos, step.inserted, step.removed);
  anchor_ = step.anchor_before;
  caret_ = step.caret_before;
  modified_ = true;
  coalescing_ = false;
  return {true, false, step.pos, step.removed.size(), step.inserted};
}

void TextBuffer::EmptyUndo() {
  undo_.clear();
  coalescing_ = false;
}

// --- Search

bool TextBuffer::MatchesAt(std::size_t pos, std::string_view needle, bool match_case) const {
  for (std::size_t i = 0; i < needle.size(); ++i) {
    char want = needle[i];
    char got = text_[pos + i];
    if (IsLeadByte(want) && i + 1 < needle.size() && IsTrailByte(needle[i + 1])) {
      // Double-byte characters compare exactly, trail byte included.
      if (want != got || needle[i + 1] != text_[pos + i + 1]) return false;
      ++i;
    } else if (want != got && (match_case || FoldAscii(want) != FoldAscii(got))) {
      return false;
    } else if (i + 1 == needle.size() && CharLength(pos + i) != 1) {
      // The needle ends in a lone lead byte (or a CR) where the text's character goes on.
      return false;
    }
  }
  return true;
}

std::size_t TextBuffer::Find(std::string_view needle, std::size_t begin, std::size_t end, bool match_case) const {
  end = std::min(end, size());
  if (needle.empty() || begin > end || end - begin < needle.size()) return kNoPos;
  std::size_t pos = SnapBack(begin);
  if (pos < begin) pos = NextChar(pos);
  const std::size_t last = end - needle.size();
  const char first = match_case ? needle[0] : FoldAscii(needle[0]);
  const char other = match_case ? first : UpperAscii(first);
  if (IsLeadByte(first)) return FindWalking(needle, pos, last, first, match_case);
  return ScanFirstBytes(pos, last, first, other, [&](std::size_t at) { return MatchesAt(at, needle, match_case); });
}

TextBuffer::FoundNeedle TextBuffer::FindAny(std::span<const std::string_view> needles, std::size_t begin,
                                            std::size_t end, bool match_case) const {
  end = std::min(end, size());
  FoundNeedle found;
  if (needles.empty() || begin > end) return found;
  std::size_t shortest = needles[0].size();
  bool shared = !needles[0].empty() && !IsLeadByte(needles[0][0]);
  for (std::string_view needle : needles) {
    shortest = std::min(shortest, needle.size());
    // Matching case, "a" and "A" are different first bytes and cannot share a pass.
    shared = shared && !needle.empty() &&
             (match_case ? needle[0] == needles[0][0] : FoldAscii(needle[0]) == FoldAscii(needles[0][0]));
  }
  if (!shared) {
    // Each needle in turn, only before the best match so far.
    for (std::size_t i = 0; i < needles.size(); ++i) {
      std::size_t limit = found.pos == kNoPos ? end : std::min(end, found.pos + needles[i].size() - 1);
      if (std::size_t at = Find(needles[i], begin, limit, match_case); at != kNoPos) found = {at, i};
    }
    return found;
  }
  if (shortest == 0 || end - begin < shortest) return found;
  std::size_t pos = SnapBack(begin);
  if (pos < begin) pos = NextChar(pos);
  const char first = match_case ? needles[0][0] : FoldAscii(needles[0][0]);
  const char other = match_case ? first : UpperAscii(first);
  found.pos = ScanFirstBytes(pos, end - shortest, first, other, [&](std::size_t at) {
    for (std::size_t i = 0; i < needles.size(); ++i) {
      if (at + needles[i].size() <= end && MatchesAt(at, needles[i], match_case)) {
        found.index = i;
        return true;
      }
    }
    return false;
  });
  return found;
}

// A first byte that cannot be part of another character's lead: its places are found a
// word at a time in each piece, and only they are checked for a character start (the
// runs of lead-range bytes looked at behind them never overlap, so the check stays cheap).
template <typename Matches>
std::size_t TextBuffer::ScanFirstBytes(std::size_t pos, std::size_t last, char first, char other,
                                       Matches matches) const {
  const std::string_view pieces[] = {text_.Front(), text_.Back()};
  std::size_t offset = 0;
  for (std::string_view piece : pieces) {
    for (std::size_t i = pos > offset ? pos - offset : 0; offset + i <= last; ++i) {
      i = FindEitherByte(piece, i, first, other);
      if (i == std::string_view::npos || offset + i > last) break;
      if (SnapBack(offset + i) == offset + i && matches(offset + i)) return offset + i;
    }
    offset += piece.size();
  }
  return kNoPos;
}

// A double-byte first character: the characters are walked in place in each piece (the
// gap buffer's operator[] per byte costs more than the comparison); the last byte of a
// piece takes the general step, as its character may continue in the next piece.
std::size_t TextBuffer::FindWalking(std::string_view needle, std::size_t pos, std::size_t last, char first,
                                    bool match_case) const {
  const std::string_view front = text_.Front(), back = text_.Back();
  while (pos <= last) {
    const bool in_front = pos < front.size();
    const std::string_view piece = in_front ? front : back;
    const std::size_t offset = in_front ? 0 : front.size();
    const std::size_t stop = std::min(last + 1, offset + piece.size() - 1);
    for (std::size_t i = pos - offset; pos < stop; pos += PieceCharLength(piece, i), i = pos - offset) {
      if (piece[i] == first && MatchesAt(pos, needle, match_case)) return pos;
    }
    if (pos > last) break;
    if (text_[pos] == first && MatchesAt(pos, needle, match_case)) return pos;
    pos = NextChar(pos);
  }
  return kNoPos;
}

std::size_t TextBuffer::MemoryBytes() const {
  std::size_t undo = 0;
  for (const UndoStep& s : undo_) undo += sizeof(UndoStep) + s.removed.capacity();
  return text_.capacity() + lines_.MemoryBytes() + undo;
}

}  // namespace quillet
