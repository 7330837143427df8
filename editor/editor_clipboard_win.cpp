// Clipboard commands (CF_TEXT) and undo.
#include <cstring>

#include "editor/editor_control_win.h"

namespace quillet {

namespace {

class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool EditorControl::CopyToClipboard() {
  if (!text_.HasSelection()) return false;
  std::size_t n = text_.SelEnd() - text_.SelStart();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, n + 1);
  if (!memory) return false;
  auto* bytes = static_cast<char*>(GlobalLock(memory));
  text_.CopyOut(text_.SelStart(), n, bytes);
  bytes[n] = '\0';
  GlobalUnlock(memory);
  ClipboardScope clipboard(hwnd_);
  if (!clipboard.open() || !EmptyClipboard() || !SetClipboardData(CF_TEXT, memory)) {
    GlobalFree(memory);
    return false;
  }
  return true;
}

void EditorControl::Cut() {
  if (CanEdit() && CopyToClipboard()) Clear();
}

void EditorControl::Paste() {
  if (!CanEdit()) return;
  std::string text;
  {
    ClipboardScope clipboard(hwnd_);
    HANDLE data = clipboard.open() ? GetClipboardData(CF_TEXT) : nullptr;
    const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!bytes) return;
    // The text ends at its NUL, or at the end of the block if it has none.
    std::size_t size = GlobalSize(data);
    text.assign(bytes, strnlen(bytes, size));
    GlobalUnlock(data);
  }
  UserEdit([this, &text] { return text_.ReplaceSelection(text, true); });
}

void EditorControl::Clear() {
  if (CanEdit() && text_.HasSelection()) UserEdit([this] { return text_.ReplaceSelection({}, true); });
}

void EditorControl::Undo() {
  EditWith([this] { return text_.Undo(); });
}

}  // namespace quillet
