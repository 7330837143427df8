// Clipboard commands and undo. Copies carry Unicode text, with a document's own characters
// as themselves, and Shift-JIS text, with those characters as "?". A paste into a document
// whose table takes new characters reads the Unicode text; any other reads the Shift-JIS.
#include <algorithm>
#include <cstring>

#include "core/unicode_text.h"
#include "editor/editor_control_win.h"
#include "editor/foreign_text.h"
#include "win/code_page_win.h"

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

// Puts text and its NUL on the open clipboard; the clipboard owns the memory once it
// takes it.
template <typename Char>
bool PutText(UINT format, const std::basic_string<Char>& text) {
  std::size_t size = (text.size() + 1) * sizeof(Char);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return false;
  std::memcpy(GlobalLock(memory), text.c_str(), size);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory)) return true;
  GlobalFree(memory);
  return false;
}

// The open clipboard's text in format: up to its NUL, or the whole block if it has none.
template <typename Char>
bool GetText(UINT format, std::basic_string<Char>& text) {
  HANDLE data = GetClipboardData(format);
  const auto* chars = data ? static_cast<const Char*>(GlobalLock(data)) : nullptr;
  if (!chars) return false;
  const Char* end = chars + GlobalSize(data) / sizeof(Char);
  text.assign(chars, std::find(chars, end, Char{}));
  GlobalUnlock(data);
  return true;
}

}  // namespace

bool EditorControl::CopyToClipboard() {
  if (!text_.HasSelection()) return false;
  std::string text = text_.Substr(text_.SelStart(), text_.SelEnd());
  std::u16string unicode = Utf16FromEditorText(text, SystemCodePage(), &chars_);
  std::string shift_jis = ShiftJisForOthers(text, chars_);
  ClipboardScope clipboard(hwnd_);
  return clipboard.open() && EmptyClipboard() && PutText(CF_UNICODETEXT, unicode) && PutText(CF_TEXT, shift_jis);
}

void EditorControl::Cut() {
  if (CanEdit() && CopyToClipboard()) Clear();
}

bool EditorControl::ReadClipboard(std::string& text) {
  ClipboardScope clipboard(hwnd_);
  if (!clipboard.open()) return false;
  std::u16string unicode;
  if (!chars_grow_ || !GetText(CF_UNICODETEXT, unicode)) return GetText(CF_TEXT, text);
  char32_t refused = 0;
  if (EditorTextFromUtf16(unicode, SystemCodePage(), &chars_, text, refused)) return true;
  MessageBeep(MB_OK);  // a character found no code: the table is full
  return false;
}

void EditorControl::Paste() {
  std::string text;
  if (CanEdit() && ReadClipboard(text)) UserEdit([this, &text] { return text_.ReplaceSelection(text, true); });
}

void EditorControl::Clear() {
  if (CanEdit() && text_.HasSelection()) UserEdit([this] { return text_.ReplaceSelection({}, true); });
}

void EditorControl::Undo() {
  EditWith([this] { return text_.Undo(); });
}

}  // namespace quillet
