#pragma once
// The editor's text model: Shift-JIS bytes whose line breaks are all CR LF, the selection,
// the modify flag and the undo record. Positions are byte offsets; a double-byte
// character and a line break each take two. Text coming in has lone CR and lone LF made
// into CR LF; selection ends never fall inside a character or a break; positions past the
// end are taken as the end.
//
// Characters are read from the start of the text: a lead byte followed by a byte of 0x40
// or more is one double-byte character; any other byte is a character of its own, a lone
// lead byte (before a smaller byte, a break, or at the end) included. So whether a byte
// pairs depends on its neighbours, and an edit could make a lone lead byte and the byte
// brought next to it read as one character nobody typed, taking the rest of a run of
// lead-range bytes with it. An edit is therefore refused (nothing changes, no undo step)
// when a lone lead byte would meet a byte that can trail it at either seam: the one
// before the edited range meeting the first byte after it, or an inserted text whose last
// character is a lone lead byte meeting the byte after the range. Every other edit leaves
// the characters outside the range as they were. (A user joins such a line by deleting
// the lone byte first.)
#include <array>
#include <cstddef>
#include <deque>
#include <span>
#include <string>
#include <string_view>

#include "core/text_gap.h"
#include "core/text_lines.h"

namespace quillet {

// What an edit did, so a view can redraw only what changed.
struct TextChange {
  bool changed = false;    // the text is different
  bool truncated = false;  // the insertion was cut at the text limit
  std::size_t pos = 0;     // where the change starts
  std::size_t inserted = 0;
  std::size_t removed = 0;
  bool refused = false;    // nothing changed: the edit would have joined characters
};

// Lone CR and lone LF become CR LF; CR LF stays.
std::string NormalizeBreaks(std::string_view text);

class TextBuffer {
 public:
  static constexpr std::size_t kNoPos = static_cast<std::size_t>(-1);
  static constexpr std::size_t kDefaultLimit = 32767;  // the rich-edit default
  static constexpr std::size_t kUndoDepth = 100;

  TextBuffer();

  // --- Text
  std::size_t size() const { return text_.size(); }
  char operator[](std::size_t pos) const { return text_[pos]; }
  std::string Text() const { return text_.Substr(0, size()); }
  // The text as two pieces in place, valid until the next change (no copy for saving).
  std::array<std::string_view, 2> Pieces() const { return {text_.Front(), text_.Back()}; }
  // The bytes of [begin, end), both clamped to the text.
  std::string Substr(std::size_t begin, std::size_t end) const;
  void CopyOut(std::size_t begin, std::size_t n, char* out) const { text_.CopyOut(begin, n, out); }

  // --- Characters
  // Length of the character (or CR LF break) that starts at pos.
  std::size_t CharLength(std::size_t pos) const;
  // The start of the character that holds pos (pos itself on a boundary), clamped.
  std::size_t SnapBack(std::size_t pos) const;
  std::size_t NextChar(std::size_t pos) const;
  std::size_t PrevChar(std::size_t pos) const;
  bool IsBreakAt(std::size_t pos) const { return pos + 1 < size() && text_[pos] == '\r' && text_[pos + 1] == '\n'; }

  // --- Lines (from 0; a text ending in CR LF has an empty last line)
  std::size_t LineCount() const { return lines_.breaks() + 1; }
  std::size_t LineOf(std::size_t pos) const { return lines_.CountUpTo(pos, size()); }
  // Start of a line; kNoPos past the last line.
  std::size_t LineStart(std::size_t line) const;
  // End of a line before its break.
  std::size_t LineEnd(std::size_t line) const;

  // --- Selection
  std::size_t anchor() const { return anchor_; }
  std::size_t caret() const { return caret_; }
  std::size_t SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t SelEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool HasSelection() const { return anchor_ != caret_; }
  // Moves the selection (ends clamped and snapped); ends any run of coalesced typing.
  void Select(std::size_t anchor, std::size_t caret);

  // --- Editing; each sets the modify flag when it changes the text
  // Replaces the whole text; clears the modify flag and the undo record; caret at 0.
  void SetText(std::string_view text);
  // The same for a block read from a file: taken over without a copy when its line breaks
  // are all CR LF already.
  void AdoptText(TextBlock block);
  // Replaces the selection; the caret ends after the insertion. A replacement that is not
  // undoable empties the undo record. Like every edit below, refused (changed false) when
  // it would pair a lone lead byte with its new neighbour.
  TextChange ReplaceSelection(std::string_view text, bool undoable);
  // A typed character (or CR LF, or a tab): replaces the selection; consecutive typing is
  // one undo step.
  TextChange Type(std::string_view chars);
  // Backspace and Delete: remove the selection, else the character (or break) before or
  // after the caret; consecutive presses are one undo step.
  TextChange DeleteBackward();
  TextChange DeleteForward();

  // --- Undo
  bool CanUndo() const { return !undo_.empty(); }
  // Reverts the last step, restoring its text and selection; sets the modify flag.
  TextChange Undo();
  void EmptyUndo();
  bool modified() const { return modified_; }
  void set_modified(bool m) { modified_ = m; }

  // --- Limit on the text length for edits (set-text is not limited)
  std::size_t limit() const { return limit_; }
  void set_limit(std::size_t limit) { limit_ = limit; }

  // --- Search
  // First match of needle made of whole characters of the text (starting and ending on
  // character boundaries) at or after begin and ending at or before end (both clamped);
  // without match_case ASCII letters compare without regard to case. kNoPos when there is
  // none.
  std::size_t Find(std::string_view needle, std::size_t begin, std::size_t end, bool match_case) const;
  // The first match of any of the needles by the same rules, and which needle matched
  // (the first of them that matches at that place); kNoPos when none does. Needles that
  // begin with the same single-byte character take one pass over the text.
  struct FoundNeedle {
    std::size_t pos = kNoPos;
    std::size_t index = 0;
  };
  FoundNeedle FindAny(std::span<const std::string_view> needles, std::size_t begin, std::size_t end,
                      bool match_case) const;

  // Bytes held for the text, the line index and the undo record.
  std::size_t MemoryBytes() const;

 private:
  enum class StepKind { kTyping, kBackspace, kDelete, kOther };
  struct UndoStep {
    StepKind kind;
    std::size_t pos;
    std::string removed;
    std::size_t inserted;
    std::size_t anchor_before;
    std::size_t caret_before;
  };

  // Selection, modify flag and undo after a whole new text.
  void Loaded();
  // The raw edit: replaces [pos, pos + removed) by text and keeps the lines in step.
  void Splice(std::size_t pos, std::size_t removed, std::string_view text);
  // Replaces [begin, end) by text as one edit of the given kind (coalescing when allowed).
  TextChange Edit(std::size_t begin, std::size_t end, std::string_view text, StepKind kind, bool undoable);
  void Record(StepKind kind, std::size_t begin, std::size_t end, std::size_t inserted);
  bool Coalesces(StepKind kind, std::size_t begin, std::size_t end) const;
  // Whether replacing [begin, end) by text leaves the characters outside it as they were
  // (see the rule at the top).
  bool KeepsCharacters(std::size_t begin, std::size_t end, std::string_view text) const;
  // The longest prefix of text that keeps the text within the limit when [begin, end)
  // is replaced.
  std::string_view FitToLimit(std::string_view text, std::size_t begin, std::size_t end) const;
  bool MatchesAt(std::size_t pos, std::string_view needle, bool match_case) const;
  // The first place from pos to last that holds first or other, starts a character and
  // satisfies matches(place).
  template <typename Matches>
  std::size_t ScanFirstBytes(std::size_t pos, std::size_t last, char first, char other, Matches matches) const;
  std::size_t FindWalking(std::string_view needle, std::size_t pos, std::size_t last, char first,
                          bool match_case) const;

  GapText text_;
  LineIndex lines_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  bool modified_ = false;
  std::size_t limit_ = kDefaultLimit;
  std::deque<UndoStep> undo_;
  bool coalescing_ = false;
};

}  // namespace quillet
