// Keys and typed characters.
#include <windows.h>

#include <algorithm>

#include "core/sjis.h"
#include "core/text_words.h"
#include "editor/editor_control_win.h"

namespace quillet {

namespace {

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

bool EditorControl::OnKeyDown(WPARAM key) {
  bool ctrl = Down(VK_CONTROL);
  bool shift = Down(VK_SHIFT);
  switch (key) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
      pending_lead_ = 0;
      OnMoveKey(key, ctrl, shift);
      return true;
    default: return OnEditKey(key, ctrl, shift);
  }
}

bool EditorControl::OnEditKey(WPARAM key, bool ctrl, bool shift) {
  switch (key) {
    case VK_DELETE:
      if (shift) Cut();
      else if (CanEdit()) UserEdit([this] { return text_.DeleteForward(); });
      return true;
    case VK_INSERT:
      if (ctrl) CopyToClipboard();
      else if (shift) Paste();
      return true;
    // These also arrive as WM_CHAR when the keyboard is translated; the key does the work
    // and its character is taken off the queue.
    case VK_BACK: DropQueuedChar('\b'); OnChar('\b'); return true;
    case VK_RETURN: DropQueuedChar('\r'); OnChar('\r'); return true;
    case VK_TAB: DropQueuedChar('\t'); OnChar('\t'); return true;
    default: break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'Z': if (CanEdit()) Undo(); return true;
    case 'X': Cut(); return true;
    case 'C': CopyToClipboard(); return true;
    case 'V': Paste(); return true;
    case 'A': Select(0, text_.size()); return true;
    default: return false;
  }
}

std::size_t EditorControl::VerticalTarget(WPARAM key) {
  std::size_t line = text_.LineOf(text_.caret());
  std::size_t last = text_.LineCount() - 1;
  long step = key == VK_UP || key == VK_DOWN ? 1 : static_cast<long>(VisibleLines());
  bool up = key == VK_UP || key == VK_PRIOR;
  std::size_t target = up ? line - std::min<std::size_t>(line, static_cast<std::size_t>(step))
                          : std::min(last, line + static_cast<std::size_t>(step));
  if (key == VK_PRIOR || key == VK_NEXT) ScrollBy(up ? -step : step, 0);
  WindowDc dc(hwnd_);
  SelectIn font(dc.get(), font_);
  return PosAtX(dc.get(), target, goal_x_);
}

void EditorControl::OnMoveKey(WPARAM key, bool ctrl, bool shift) {
  std::size_t caret = text_.caret();
  std::size_t line = text_.LineOf(caret);
  bool vertical = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
  int goal = goal_x_ >= 0 ? goal_x_ : XOfPos(caret);
  goal_x_ = goal;
  std::size_t target = caret;
  switch (key) {
    case VK_LEFT:
      if (text_.HasSelection() && !shift && !ctrl) target = text_.SelStart();
      else target = ctrl ? PrevWordStart(text_, caret) : text_.PrevChar(caret);
      break;
    case VK_RIGHT:
      if (text_.HasSelection() && !shift && !ctrl) target = text_.SelEnd();
      else target = ctrl ? NextWordStart(text_, caret) : text_.NextChar(caret);
      break;
    case VK_HOME: target = ctrl ? 0 : text_.LineStart(line); break;
    case VK_END: target = ctrl ? text_.size() : text_.LineEnd(line); break;
    default: target = VerticalTarget(key); break;
  }
  Select(shift ? text_.anchor() : target, target);
  if (vertical) goal_x_ = goal;
}

void EditorControl::DropQueuedChar(char ch) {
  MSG msg;
  if (PeekMessageA(&msg, hwnd_, WM_CHAR, WM_CHAR, PM_NOREMOVE) && msg.wParam == static_cast<WPARAM>(ch)) {
    PeekMessageA(&msg, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE);
  }
}

void EditorControl::OnChar(WPARAM ch) {
  if (ch > 0xFF) {  // a double-byte character in one message, lead byte high
    Type({static_cast<char>(ch >> 8), static_cast<char>(ch & 0xFF)});
    return;
  }
  char c = static_cast<char>(ch);
  if (pending_lead_) {
    char lead = pending_lead_;
    pending_lead_ = 0;
    Type({lead, c});
    return;
  }
  if (IsLeadByte(c)) {
    pending_lead_ = c;
    return;
  }
  switch (c) {
    case '\b':
      if (CanEdit()) UserEdit([this] { return text_.DeleteBackward(); });
      return;
    case '\r': Type("\r\n"); return;
    case '\t': Type("\t"); return;
    default:
      if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) Type(std::string(1, c));
      return;
  }
}

void EditorControl::Type(const std::string& chars) {
  if (CanEdit()) UserEdit([this, &chars] { return text_.Type(chars); });
}

}  // namespace quillet
