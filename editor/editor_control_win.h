#pragma once
// The state and behaviour behind one editor window. Its methods are spread over the
// editor_*_win.cpp files by concern: requests, view, painting, keys, the input method,
// mouse, marks, clipboard, printing.
#include <windows.h>
#include <imm.h>
#include <richedit.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/composition.h"
#include "core/foreign_chars.h"
#include "core/ime_span.h"
#include "core/text_buffer.h"
#include "editor/editor_win.h"
#include "editor/text_marks.h"
#include "win/handles_win.h"

namespace quillet {

class EditorControl {
 public:
  explicit EditorControl(HWND hwnd);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static constexpr UINT_PTR kAutoScrollTimer = 1;
  static constexpr int kMargin = 2;      // pixels left of the text, so a caret at x 0 shows
  static constexpr int kTabColumns = 8;  // tab stops, in average character widths

  static int NextTabStop(int x, int tab) { return (x / tab + 1) * tab; }

  struct BarState {
    int max = -1, page = -1, pos = -1;
  };
  struct Selection {
    std::size_t anchor, caret, lines;
  };
  // Where an inline composition stands: at the selection's start, in place of the
  // selection when it lies within the line (the result will replace it).
  struct CompositionGap {
    std::size_t line, at, resume;
  };
  struct CaretSpot {
    std::size_t line;
    int x;  // from the line's left edge
  };

  // --- requests (editor_requests_win.cpp); true when msg was one of them
  bool Request(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool SelectionRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool LineRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool TextRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool StateRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  LRESULT CopyOut(const std::string& bytes, char* out) const;

  // --- changes and notifications (editor_win.cpp)
  Selection Snapshot() const;
  // Redraws, scrolls and notifies after an edit made from the state in before.
  void Apply(const TextChange& change, const Selection& before);
  // The same after a selection move; notifies only when the selection moved.
  // A selection set from outside (a jump: EM_SETSEL and its kin) is shown with its
  // context when it was off screen; one made by the keys or the mouse scrolls no further
  // than it must.
  void AfterSelect(const Selection& before, bool from_outside = false);
  void Select(std::size_t anchor, std::size_t caret);
  // Runs an edit of the text model and then Apply with the state from before it.
  template <typename F>
  void EditWith(F edit) {
    Selection before = Snapshot();
    Apply(edit(), before);
  }
  // The same for the user's own keys and pastes: an edit the model refuses (it would have
  // joined a lone lead byte to another character) beeps, so the key is not lost unheard.
  template <typename F>
  void UserEdit(F edit) {
    Selection before = Snapshot();
    TextChange change = edit();
    if (change.refused) MessageBeep(MB_OK);
    Apply(change, before);
  }
  // WM_SETREDRAW: while off, edits and selection moves neither draw nor notify; turning
  // it on brings the display up to date and sends what was held, once.
  void SetRedraw(bool on);
  void LoadText(std::string_view text);  // set-text
  void LoadBlock(TextBlock block);       // a file's bytes, taken over
  // Scroll, caret and notifications after a whole new text.
  void Loaded();
  bool CanEdit() const { return !read_only_; }
  void NotifyCommand(WORD code);
  void NotifySelection();

  // --- view (editor_view_win.cpp)
  void SetFont(HFONT font, bool redraw);
  void UpdateMetrics();
  // x (from the line's left edge) of each byte offset of the line, in layout_.
  const std::vector<int>& Layout(HDC dc, std::size_t line);
  int XOfPos(std::size_t pos);
  std::size_t PosAtX(HDC dc, std::size_t line, int x);
  std::size_t PosFromPoint(POINT pt);
  std::size_t VisibleLines() const;  // whole lines that fit
  int TextWidth() const;
  int ScrollWidth() const;
  void ScrollTo(std::size_t top, int x);
  void ScrollBy(long lines, int pixels);
  // The caret's line and x: the input method's caret inside a composition.
  CaretSpot CaretPlace();
  void ScrollCaretIntoView(bool with_context = false);
  void UpdateScrollBars();
  void SetBar(int bar, const BarState& state);
  void PlaceCaret();
  void InvalidateLines(std::size_t first, std::size_t last);
  void NoteWidth(int width);
  void OnScroll(int bar, WORD code);

  // --- painting (editor_paint_win.cpp)
  void Paint();
  void PaintLines();
  void PaintLine(HDC dc, std::size_t line, int width);
  void DrawRun(HDC dc, std::size_t begin, std::size_t end, std::size_t line_start, bool selected);
  void DrawComposition(HDC dc);

  // --- keys and characters (editor_keys_win.cpp)
  bool OnKeyDown(WPARAM key);
  bool OnEditKey(WPARAM key, bool ctrl, bool shift);
  void OnMoveKey(WPARAM key, bool ctrl, bool shift);
  std::size_t VerticalTarget(WPARAM key);
  void OnChar(WPARAM ch);
  void Type(const std::string& chars);
  void DropQueuedChar(char ch);

  // --- the input method (editor_ime_win.cpp); true when msg was handled
  bool ImeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool ComposesInline() const;
  LRESULT OnComposition(WPARAM wp, LPARAM lp);
  void InsertComposed(const std::u16string& result);
  void ShowComposition(Composition composition);
  // Before a click moves the caret: the input method gives its result first.
  void CompleteComposition();
  void PlaceComposition();
  POINT CompositionOrigin();
  int UnitX(std::size_t unit) const;
  COMPOSITIONFORM CompositionPlace();
  CANDIDATEFORM CandidatePlace();
  LRESULT OnImeRequest(WPARAM kind, LPARAM lp);
  LRESULT Reconvert(RECONVERTSTRING* out);
  LRESULT ConfirmReconversion(const RECONVERTSTRING* in);
  LRESULT DocumentFeed(RECONVERTSTRING* out);
  LRESULT CharPosition(IMECHARPOSITION* position);
  std::optional<CompositionGap> Gap() const;
  std::size_t CompositionResume() const;
  // x of each unit of the composition from its left edge, in composition_xs_.
  void MeasureComposition(HDC dc);

  // --- mouse (editor_mouse_win.cpp)
  void OnButtonDown(POINT pt, bool shift);
  void OnMouseMove(POINT pt);
  void OnDoubleClick(POINT pt);
  void OnAutoScroll();
  void EndDrag();
  void OnWheel(short delta);

  // --- a document's own characters (editor_foreign_win.cpp)
  // EM_SETFOREIGNCHARS: chars null keeps the table.
  void SetForeignChars(ForeignChars* chars, bool grow);
  // These take the two bytes of a code of the table.
  std::u16string ForeignText(const char* code) const;
  int ForeignWidth(HDC dc, const char* code) const;
  void DrawForeign(HDC dc, int x, int y, const char* code) const;

  // --- marks of blank characters and line ends (editor_marks_win.cpp)
  void SetMarks(WPARAM marks);
  // Over the bytes [from, to) of the line just laid out (line_text_, layout_).
  void DrawMarks(HDC dc, std::size_t line, std::size_t from, std::size_t to);

  // --- clipboard (editor_clipboard_win.cpp)
  bool CopyToClipboard();
  void Cut();
  void Paste();
  // The clipboard's text in the editor's codes; false when it has none, or (after a beep)
  // when a character of it finds no code.
  bool ReadClipboard(std::string& text);
  void Clear();
  void Undo();

  // --- printing (editor_print_win.cpp)
  LRESULT FormatRange(bool render, const FORMATRANGE* range);
  std::size_t WrapRow(HDC dc, std::size_t pos, std::size_t limit, int width, int tab);
  void PrintRow(HDC dc, std::size_t pos, std::size_t end, int x, int y, int tab);

  HWND hwnd_;
  TextBuffer text_;
  ForeignChars chars_;
  bool chars_grow_ = false;  // a paste may add characters to chars_
  WPARAM marks_ = kMarkFullWidthSpace;
  std::vector<BlankChar> blanks_;
  PenHandle mark_pen_;
  FontHandle default_font_;
  HFONT font_ = nullptr;
  int line_height_ = 16;
  int ave_width_ = 8;
  std::size_t top_ = 0;
  int scroll_x_ = 0;
  int widest_ = 0;
  int goal_x_ = -1;
  BarState vertical_bar_;
  BarState horizontal_bar_;
  bool read_only_ = false;
  bool redraw_ = true;
  bool held_change_ = false;  // the text changed while redraw was off
  char pending_lead_ = 0;
  bool dragging_ = false;
  int wheel_rest_ = 0;
  std::size_t notified_anchor_ = 0;
  std::size_t notified_caret_ = 0;
  std::vector<int> layout_;
  std::string line_text_;
  // The composition's bytes in the line last laid out ([from, to) of line_text_; none
  // when the line has no composition): they take no room, the composition goes before.
  std::size_t layout_gap_from_ = TextBuffer::kNoPos, layout_gap_to_ = TextBuffer::kNoPos;
  Composition composition_;
  std::vector<int> composition_xs_{0};
  int composition_x_ = 0;  // the composition's left edge in its line's layout
  std::optional<ImeSpan> reconversion_;  // the text last shown for a reconversion
  std::vector<int> extents_;
  FontHandle print_font_;
  HFONT print_font_source_ = nullptr;
  int print_dpi_ = 0;
};

}  // namespace quillet
