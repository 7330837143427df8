// The rich-edit requests, answered with byte positions.
#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "core/text_requests.h"
#include "editor/editor_control_win.h"
#include "editor/editor_win.h"

namespace quillet {

namespace {

long AsLong(WPARAM wp) { return static_cast<long>(static_cast<LONG>(wp)); }
long AsLong(LPARAM lp) { return static_cast<long>(static_cast<LONG>(lp)); }
// EM_LIMITTEXT and EM_EXLIMITTEXT take 0 as the rich-edit default of 64K.
std::size_t LimitOf(std::size_t n) { return n == 0 ? 65536 : n; }

}  // namespace

bool EditorControl::Request(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  return SelectionRequest(msg, wp, lp, result) || LineRequest(msg, wp, lp, result) || TextRequest(msg, wp, lp, result) ||
         StateRequest(msg, wp, lp, result);
}

// Copies bytes and a NUL to out; answers the number of bytes without the NUL.
LRESULT EditorControl::CopyOut(const std::string& bytes, char* out) const {
  if (!out) return 0;
  std::memcpy(out, bytes.data(), bytes.size());
  out[bytes.size()] = '\0';
  return static_cast<LRESULT>(bytes.size());
}

bool EditorControl::SelectionRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  Selection before = Snapshot();
  switch (msg) {
    case EM_GETSEL:
      if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(text_.SelStart());
      if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(text_.SelEnd());
      result = static_cast<LRESULT>(PackedSelection(text_));
      return true;
    case EM_EXGETSEL: {
      auto* range = reinterpret_cast<CHARRANGE*>(lp);
      range->cpMin = static_cast<LONG>(text_.SelStart());
      range->cpMax = static_cast<LONG>(text_.SelEnd());
      return true;
    }
    case EM_SETSEL:
      SetSelectionRequest(text_, AsLong(wp), AsLong(lp));
      AfterSelect(before, true);
      return true;
    case EM_EXSETSEL: {
      const auto* range = reinterpret_cast<const CHARRANGE*>(lp);
      SetSelectionRequest(text_, range->cpMin, range->cpMax);
      AfterSelect(before, true);
      result = static_cast<LRESULT>(text_.SelEnd());
      return true;
    }
    case EM_GETSELTEXT: result = CopyOut(text_.Substr(text_.SelStart(), text_.SelEnd()), reinterpret_cast<char*>(lp)); return true;
    case EM_SCROLLCARET: ScrollCaretIntoView(); return true;
    default: return false;
  }
}

bool EditorControl::LineRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case EM_LINEFROMCHAR: result = LineFromCharRequest(text_, AsLong(wp)); return true;
    case EM_EXLINEFROMCHAR: result = LineFromCharRequest(text_, AsLong(lp)); return true;
    case EM_LINEINDEX: result = LineIndexRequest(text_, AsLong(wp)); return true;
    case EM_LINELENGTH: result = LineLengthRequest(text_, AsLong(wp)); return true;
    case EM_GETLINECOUNT: result = static_cast<LRESULT>(text_.LineCount()); return true;
    case EM_GETLINE: {
      auto* buffer = reinterpret_cast<char*>(lp);
      std::string line = LineTextRequest(text_, AsLong(wp));
      std::size_t room = *reinterpret_cast<WORD*>(buffer);
      std::size_t n = line.size() < room ? line.size() : room;
      std::memcpy(buffer, line.data(), n);
      result = static_cast<LRESULT>(n);
      return true;
    }
    case EM_GETFIRSTVISIBLELINE: result = static_cast<LRESULT>(top_); return true;
    case EM_LINESCROLL: ScrollBy(AsLong(lp), static_cast<int>(AsLong(wp)) * ave_width_); result = TRUE; return true;
    default: return false;
  }
}

bool EditorControl::TextRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_SETTEXT: LoadText(lp ? reinterpret_cast<const char*>(lp) : ""); result = TRUE; return true;
    case EM_LOADTEXTBLOCK: LoadBlock(std::move(*reinterpret_cast<TextBlock*>(lp))); result = TRUE; return true;
    case EM_GETTEXTPIECES: {
      auto pieces = text_.Pieces();
      *reinterpret_cast<TextPieces*>(lp) = {pieces[0], pieces[1]};
      result = TRUE;
      return true;
    }
    case WM_GETTEXTLENGTH: result = static_cast<LRESULT>(text_.size()); return true;
    case EM_GETTEXTBUFFER: result = reinterpret_cast<LRESULT>(&text_); return true;
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<char*>(lp);
      if (wp == 0 || !out) return true;
      std::size_t n = std::min<std::size_t>(text_.size(), wp - 1);
      text_.CopyOut(0, n, out);
      out[n] = '\0';
      result = static_cast<LRESULT>(n);
      return true;
    }
    case EM_GETTEXTRANGE: {
      auto* range = reinterpret_cast<TEXTRANGEA*>(lp);
      result = CopyOut(TextRangeRequest(text_, range->chrg.cpMin, range->chrg.cpMax), range->lpstrText);
      return true;
    }
    case EM_FINDTEXT:
    case EM_FINDTEXTEX: {
      auto* find = reinterpret_cast<FINDTEXTEXA*>(lp);
      std::string_view needle = find->lpstrText ? find->lpstrText : "";
      long found = FindRequest(text_, needle, find->chrg.cpMin, find->chrg.cpMax, (wp & FR_MATCHCASE) != 0);
      if (msg == EM_FINDTEXTEX) {
        find->chrgText.cpMin = found;
        find->chrgText.cpMax = found < 0 ? -1 : found + static_cast<long>(needle.size());
      }
      result = found;
      return true;
    }
    case EM_FINDANY: {
      auto* find = reinterpret_cast<FindAnyText*>(lp);
      result = FindAnyRequest(text_, find->texts, find->min, find->max, (wp & FR_MATCHCASE) != 0, find->index);
      return true;
    }
    case EM_REPLACESEL: {
      const char* text = lp ? reinterpret_cast<const char*>(lp) : "";
      EditWith([this, text, wp] { return text_.ReplaceSelection(text, wp != 0); });
      return true;
    }
    case WM_CUT: Cut(); return true;
    case WM_COPY: CopyToClipboard(); return true;
    case WM_PASTE: Paste(); return true;
    case WM_CLEAR: Clear(); return true;
    case EM_FORMATRANGE: result = FormatRange(wp != 0, reinterpret_cast<const FORMATRANGE*>(lp)); return true;
    default: return false;
  }
}

bool EditorControl::StateRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case EM_CANUNDO: result = text_.CanUndo(); return true;
    case EM_UNDO: result = text_.CanUndo(); Undo(); return true;
    case EM_EMPTYUNDOBUFFER: text_.EmptyUndo(); return true;
    case EM_GETMODIFY: result = text_.modified(); return true;
    case EM_SETMODIFY: text_.set_modified(wp != 0); return true;
    case EM_LIMITTEXT: text_.set_limit(LimitOf(wp)); return true;
    case EM_EXLIMITTEXT: text_.set_limit(LimitOf(static_cast<std::size_t>(lp))); return true;
    case EM_GETLIMITTEXT: result = static_cast<LRESULT>(text_.limit()); return true;
    case EM_SETREADONLY: read_only_ = wp != 0; result = TRUE; return true;
    case EM_SETFOREIGNCHARS: SetForeignChars(reinterpret_cast<ForeignChars*>(lp), wp != 0); result = TRUE; return true;
    case EM_GETFOREIGNCHARS: result = reinterpret_cast<LRESULT>(&chars_); return true;
    case EM_SETMARKS: SetMarks(wp); return true;
    default: return false;
  }
}

}  // namespace quillet
