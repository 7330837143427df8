#include "editor/editor_win.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "editor/editor_control_win.h"
#include "win/guard_win.h"

namespace quillet {

namespace {

EditorControl* ControlOf(HWND hwnd) { return reinterpret_cast<EditorControl*>(GetWindowLongPtrA(hwnd, 0)); }

// Out of memory for a huge text, say: the request fails, the user is told, the window
// lives on.
LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return Guarded(hwnd, FailedMessageResult(msg), [&]() -> LRESULT {
    if (msg == WM_NCCREATE) SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(new EditorControl(hwnd)));
    EditorControl* control = ControlOf(hwnd);
    if (msg == WM_NCDESTROY) {
      delete control;
      SetWindowLongPtrA(hwnd, 0, 0);
    } else if (control) {
      return control->Handle(msg, wp, lp);
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
  });
}

}  // namespace

bool RegisterEditorClass(HINSTANCE instance) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(instance, kEditorClassName, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = EditorProc;
  wc.cbWndExtra = sizeof(EditorControl*);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
  wc.lpszClassName = kEditorClassName;
  return RegisterClassExA(&wc) != 0;
}

HWND CreateEditor(HWND parent, int control_id) {
  auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  if (!RegisterEditorClass(instance)) return nullptr;
  return CreateWindowExA(0, kEditorClassName, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 0, 0,
                         0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), instance, nullptr);
}

EditorControl::EditorControl(HWND hwnd) : hwnd_(hwnd), default_font_(CreatePointFont("ＭＳ ゴシック", 10)) {
  font_ = default_font_.get();
  UpdateMetrics();
}

LRESULT EditorControl::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (Request(msg, wp, lp, result) || ImeMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_CREATE: UpdateScrollBars(); return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // every pixel is painted with the lines
    case WM_SIZE: ScrollTo(top_, scroll_x_); UpdateScrollBars(); InvalidateRect(hwnd_, nullptr, FALSE); return 0;
    case WM_SETREDRAW: SetRedraw(wp != 0); return 0;
    case WM_SETFONT: SetFont(reinterpret_cast<HFONT>(wp), LOWORD(lp) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS: CreateCaret(hwnd_, nullptr, 2, line_height_); PlaceCaret(); ShowCaret(hwnd_); return 0;
    case WM_KILLFOCUS: DestroyCaret(); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wp)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wp)); return 0;
    case WM_MOUSEWHEEL: OnWheel(GET_WHEEL_DELTA_WPARAM(wp)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_KEYDOWN: if (OnKeyDown(wp)) return 0; break;
    case WM_CHAR: OnChar(wp); return 0;
    case WM_LBUTTONDOWN: OnButtonDown({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, (wp & MK_SHIFT) != 0); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_MOUSEMOVE: OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); return 0;
    case WM_LBUTTONUP: EndDrag(); return 0;
    case WM_CAPTURECHANGED: EndDrag(); return 0;
    case WM_TIMER: if (wp == kAutoScrollTimer) OnAutoScroll(); return 0;
    case WM_SETCURSOR:
      // A read-only text (the error window, descriptions) shows the arrow, as a list does.
      if (read_only_ && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    default: break;
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

EditorControl::Selection EditorControl::Snapshot() const { return {text_.anchor(), text_.caret(), text_.LineCount()}; }

void EditorControl::Apply(const TextChange& change, const Selection& before) {
  if (change.truncated) NotifyCommand(EN_MAXTEXT);
  if (!change.changed) return;
  if (!redraw_) {
    held_change_ = true;
    return;
  }
  std::size_t first = text_.LineOf(change.pos);
  if (text_.LineCount() != before.lines) {
    UpdateScrollBars();
    InvalidateLines(first, TextBuffer::kNoPos);
  } else {
    InvalidateLines(first, text_.LineOf(change.pos + change.inserted));
  }
  // An old selection may have been wider than the change.
  InvalidateLines(text_.LineOf(std::min(before.anchor, before.caret)), text_.LineOf(std::max(before.anchor, before.caret)));
  goal_x_ = -1;
  ScrollCaretIntoView();
  NotifyCommand(EN_CHANGE);
  NotifySelection();
}

void EditorControl::AfterSelect(const Selection& before, bool from_outside) {
  if (!redraw_) return;
  auto span = [this](std::size_t a, std::size_t b, std::size_t c, std::size_t d) {
    InvalidateLines(text_.LineOf(std::min({a, b, c, d})), text_.LineOf(std::max({a, b, c, d})));
  };
  if (before.anchor != text_.anchor() || before.caret != text_.caret()) {
    // Only the lines whose highlight changes: round the old and the new caret ends when
    // the anchor stays, else both selections whole.
    if (before.anchor == text_.anchor()) {
      span(before.caret, before.caret, text_.caret(), text_.caret());
    } else {
      span(before.anchor, before.caret, text_.anchor(), text_.caret());
    }
  }
  goal_x_ = -1;
  ScrollCaretIntoView(from_outside);
  if (notified_anchor_ != text_.anchor() || notified_caret_ != text_.caret()) NotifySelection();
}

void EditorControl::Select(std::size_t anchor, std::size_t caret) {
  Selection before = Snapshot();
  text_.Select(anchor, caret);
  AfterSelect(before);
}

void EditorControl::LoadText(std::string_view text) {
  text_.SetText(text);
  Loaded();
}

void EditorControl::LoadBlock(TextBlock block) {
  text_.AdoptText(std::move(block));
  Loaded();
}

void EditorControl::Loaded() {
  top_ = 0;
  scroll_x_ = 0;
  widest_ = 0;
  goal_x_ = -1;
  if (!redraw_) {
    held_change_ = true;
    return;
  }
  UpdateScrollBars();
  InvalidateRect(hwnd_, nullptr, FALSE);
  PlaceCaret();
  NotifyCommand(EN_CHANGE);
  NotifySelection();
}

void EditorControl::SetRedraw(bool on) {
  if (on == redraw_) return;
  redraw_ = on;
  if (!on) return;
  goal_x_ = -1;
  UpdateScrollBars();
  ScrollCaretIntoView();
  InvalidateRect(hwnd_, nullptr, FALSE);
  PlaceCaret();
  if (std::exchange(held_change_, false)) NotifyCommand(EN_CHANGE);
  if (notified_anchor_ != text_.anchor() || notified_caret_ != text_.caret()) NotifySelection();
}

void EditorControl::NotifyCommand(WORD code) {
  auto id = static_cast<WORD>(GetDlgCtrlID(hwnd_));
  SendMessageA(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
}

void EditorControl::NotifySelection() {
  notified_anchor_ = text_.anchor();
  notified_caret_ = text_.caret();
  SELCHANGE change{};
  change.nmhdr.hwndFrom = hwnd_;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  change.nmhdr.code = EN_SELCHANGE;
  change.chrg.cpMin = static_cast<LONG>(text_.SelStart());
  change.chrg.cpMax = static_cast<LONG>(text_.SelEnd());
  std::size_t length = text_.SelEnd() - text_.SelStart();
  change.seltyp = length == 0 ? SEL_EMPTY : static_cast<WORD>(SEL_TEXT | (length > 1 ? SEL_MULTICHAR : 0));
  SendMessageA(GetParent(hwnd_), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

}  // namespace quillet
