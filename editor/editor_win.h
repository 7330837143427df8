#pragma once
// The document editor: a plain-text window class that answers the rich-edit requests
// the program uses, with positions counted in bytes of Shift-JIS text whose line breaks
// are CR LF. The rest of the program talks to it only through window messages.
// As with the rich-edit control, the text limit for edits starts at 32,767 bytes until
// EM_EXLIMITTEXT raises it; WM_SETTEXT is not limited. Read-only mode refuses the user's
// edits (keys, WM_CUT, WM_PASTE, WM_CLEAR); EM_REPLACESEL, EM_UNDO and WM_SETTEXT still work.
// WM_SETREDRAW FALSE holds the display and the change and selection notifications for a
// run of requests; WM_SETREDRAW TRUE repaints once and sends each held notification once.
#include <windows.h>

#include <span>
#include <string_view>

namespace quillet {

inline constexpr char kEditorClassName[] = "QuilletEdit";

// Like WM_SETTEXT for a file's bytes: lParam points to a TextBlock (core/text_gap.h)
// that the editor takes over, without measuring or copying the text.
inline constexpr UINT EM_LOADTEXTBLOCK = WM_USER + 0x400;

// Fills the TextPieces that lParam points to with the whole text as two pieces in the
// editor's memory, valid until the text next changes: saving needs no copy.
inline constexpr UINT EM_GETTEXTPIECES = WM_USER + 0x401;
struct TextPieces {
  std::string_view first, second;
};

// Answers the editor's text model (const TextBuffer*), for a scan that reads the whole
// text in place; valid until the text next changes.
inline constexpr UINT EM_GETTEXTBUFFER = WM_USER + 0x403;

// Like EM_FINDTEXT for the first of several texts: lParam points to a FindAnyText,
// wParam holds FR_MATCHCASE or not. Answers the offset of the match, or -1, and sets
// index to the text that matched.
inline constexpr UINT EM_FINDANY = WM_USER + 0x402;
struct FindAnyText {
  std::span<const std::string_view> texts;
  long min = 0, max = -1;  // the range, as EM_FINDTEXT's
  std::size_t index = 0;
};

// Gives the editor the table of a document's own characters (core/foreign_chars.h), which
// it draws with their real glyphs and copies as Unicode text: lParam points to a
// ForeignChars that the editor takes over (moved from), or is null to keep the table it
// has (a document saved in another coding). wParam TRUE lets Unicode text pasted into it
// add characters to the table (a UTF-8 document); otherwise a paste takes the clipboard's
// Shift-JIS text, as in any Shift-JIS editor.
inline constexpr UINT EM_SETFOREIGNCHARS = WM_USER + 0x404;
// Answers the editor's table (const ForeignChars*), never null.
inline constexpr UINT EM_GETFOREIGNCHARS = WM_USER + 0x405;

// Sets the marks the editor draws over its text on screen, wParam a set of the flags
// below; answers 0. Printing and copies never carry them. A new editor marks full-width
// spaces only.
inline constexpr UINT EM_SETMARKS = WM_USER + 0x406;
inline constexpr WPARAM kMarkFullWidthSpace = 1, kMarkTab = 2, kMarkLineEnd = 4;

bool RegisterEditorClass(HINSTANCE instance);  // idempotent

// A visible child editor filling nothing yet; the caller sizes it.
HWND CreateEditor(HWND parent, int control_id);

}  // namespace quillet
