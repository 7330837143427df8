// The input method: the composition drawn inside the text, its result taken as Unicode,
// and the platform's requests for the text round it (reconversion, document feed, the
// place of each character). Offsets given to and taken from the input method are bytes
// of the Shift-JIS text, as for any ANSI window.
#include <windows.h>
#include <imm.h>

#include <algorithm>
#include <cstring>

#include "core/ime_span.h"
#include "core/unicode_text.h"
#include "editor/editor_control_win.h"
#include "win/code_page_win.h"

namespace quillet {

namespace {

constexpr LPARAM kResultParts = GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE | GCS_RESULTREADCLAUSE;

class ImeContext {
 public:
  explicit ImeContext(HWND hwnd) : hwnd_(hwnd), imc_(ImmGetContext(hwnd)) {}
  ~ImeContext() {
    if (imc_) ImmReleaseContext(hwnd_, imc_);
  }
  ImeContext(const ImeContext&) = delete;
  ImeContext& operator=(const ImeContext&) = delete;
  HIMC get() const { return imc_; }

  std::u16string String(DWORD kind) const {
    std::vector<char16_t> units = Read<char16_t>(kind);
    return {units.begin(), units.end()};
  }
  // The composition's attributes, clauses and the like, as the platform lists them.
  template <typename T>
  std::vector<T> Read(DWORD kind) const {
    LONG bytes = imc_ ? ImmGetCompositionStringW(imc_, kind, nullptr, 0) : 0;
    if (bytes <= 0) return {};
    std::vector<T> out(static_cast<std::size_t>(bytes) / sizeof(T));
    ImmGetCompositionStringW(imc_, kind, out.data(), static_cast<DWORD>(out.size() * sizeof(T)));
    return out;
  }

 private:
  HWND hwnd_;
  HIMC imc_;
};

// Fills a RECONVERTSTRING with text, the part [comp_offset, +comp_length) to convert;
// answers the size it needs (0 when the buffer given is smaller).
LRESULT FillReconvert(RECONVERTSTRING* out, const std::string& text, std::size_t comp_offset, std::size_t comp_length) {
  std::size_t need = sizeof(RECONVERTSTRING) + text.size() + 1;
  if (!out) return static_cast<LRESULT>(need);
  if (out->dwSize < need) return 0;
  out->dwVersion = 0;
  out->dwStrLen = static_cast<DWORD>(text.size());
  out->dwStrOffset = sizeof(RECONVERTSTRING);
  out->dwCompStrLen = out->dwTargetStrLen = static_cast<DWORD>(comp_length);
  out->dwCompStrOffset = out->dwTargetStrOffset = static_cast<DWORD>(comp_offset);
  char* bytes = reinterpret_cast<char*>(out) + sizeof(RECONVERTSTRING);
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  return static_cast<LRESULT>(need);
}

}  // namespace

// Inline unless the input method draws its composition only in a window of its own.
bool EditorControl::ComposesInline() const {
  DWORD property = ImmGetProperty(GetKeyboardLayout(0), IGP_PROPERTY);
  return !read_only_ && (property & IME_PROP_AT_CARET) && !(property & IME_PROP_SPECIAL_UI);
}

bool EditorControl::ImeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_IME_SETCONTEXT:
      if (wp && ComposesInline()) lp &= ~static_cast<LPARAM>(ISC_SHOWUICOMPOSITIONWINDOW);
      result = DefWindowProcA(hwnd_, msg, wp, lp);
      return true;
    case WM_IME_STARTCOMPOSITION:
      PlaceComposition();
      return ComposesInline();  // the default opens the input method's own window
    case WM_IME_COMPOSITION: result = OnComposition(wp, lp); return true;
    case WM_IME_ENDCOMPOSITION: ShowComposition({}); return false;
    case WM_IME_REQUEST: result = OnImeRequest(wp, lp); return true;
    default: return false;
  }
}

// The result is read as Unicode and inserted here, so the default never also sends it
// as WM_IME_CHAR.
LRESULT EditorControl::OnComposition(WPARAM wp, LPARAM lp) {
  ImeContext imc(hwnd_);
  if (lp & GCS_RESULTSTR) InsertComposed(imc.String(GCS_RESULTSTR));
  if (!ComposesInline()) {
    PlaceComposition();
    LPARAM rest = lp & ~kResultParts;
    return rest || !(lp & GCS_RESULTSTR) ? DefWindowProcA(hwnd_, WM_IME_COMPOSITION, wp, rest) : 0;
  }
  if (lp & (GCS_COMPSTR | GCS_COMPATTR | GCS_COMPCLAUSE | GCS_CURSORPOS) || !(lp & GCS_RESULTSTR)) {
    Composition composition;
    composition.text = imc.String(GCS_COMPSTR);
    composition.attrs = imc.Read<std::uint8_t>(GCS_COMPATTR);
    composition.clauses = imc.Read<std::uint32_t>(GCS_COMPCLAUSE);
    LONG cursor = imc.get() ? ImmGetCompositionStringW(imc.get(), GCS_CURSORPOS, nullptr, 0) : 0;
    composition.cursor = cursor >= 0 ? std::min<std::size_t>(static_cast<std::size_t>(cursor), composition.text.size())
                                     : composition.text.size();
    ShowComposition(std::move(composition));
  }
  return 0;
}

// A Unicode document keeps every character; a Shift-JIS one gets the platform's code
// page conversion, as its paste does.
void EditorControl::InsertComposed(const std::u16string& result) {
  if (result.empty() || !CanEdit()) return;
  std::string text;
  char32_t refused = 0;
  if (!chars_grow_) {
    text = AnsiFromWide(reinterpret_cast<const wchar_t*>(result.c_str()));
  } else if (!EditorTextFromUtf16(result, SystemCodePage(), &chars_, text, refused)) {
    MessageBeep(MB_OK);  // the table of the document's own characters is full
    return;
  }
  ShowComposition({});
  UserEdit([this, &text] { return text_.ReplaceSelection(text, true); });
}

void EditorControl::ShowComposition(Composition composition) {
  if (composition_.empty() && composition.empty()) return;
  std::size_t line = text_.LineOf(text_.SelStart());
  composition_ = std::move(composition);
  if (!redraw_) return;
  InvalidateLines(line, line);
  ScrollCaretIntoView();
  PlaceComposition();
}

void EditorControl::CompleteComposition() {
  if (composition_.empty()) return;
  ImeContext imc(hwnd_);
  if (imc.get()) ImmNotifyIME(imc.get(), NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ShowComposition({});  // in case the input method sent nothing
}

// Tells the input method where its windows go: the composition's (or the caret's) place,
// the editor's font, and for the candidates the line of the clause being converted, which
// they must not cover.
void EditorControl::PlaceComposition() {
  ImeContext imc(hwnd_);
  if (!imc.get()) return;
  LOGFONTA font{};
  GetObjectA(font_, sizeof font, &font);
  ImmSetCompositionFontA(imc.get(), &font);
  COMPOSITIONFORM form = CompositionPlace();
  ImmSetCompositionWindow(imc.get(), &form);
  if (composition_.empty()) return;
  CANDIDATEFORM candidates = CandidatePlace();
  ImmSetCandidateWindow(imc.get(), &candidates);
}

// The top left of the composition (of the caret when there is none), in client
// coordinates; its units lie composition_xs_ further right.
POINT EditorControl::CompositionOrigin() {
  CaretSpot spot = CaretPlace();
  int x = composition_.empty() ? spot.x : composition_x_;
  return {x - scroll_x_ + kMargin, (static_cast<int>(spot.line) - static_cast<int>(top_)) * line_height_};
}

int EditorControl::UnitX(std::size_t unit) const {
  return composition_.empty() ? 0 : composition_xs_[std::min(unit, composition_.text.size())];
}

COMPOSITIONFORM EditorControl::CompositionPlace() {
  COMPOSITIONFORM form{};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = CompositionOrigin();
  return form;
}

CANDIDATEFORM EditorControl::CandidatePlace() {
  POINT origin = CompositionOrigin();
  CANDIDATEFORM form{};
  form.dwStyle = CFS_EXCLUDE;
  form.ptCurrentPos = {origin.x + UnitX(TargetStart(composition_)), origin.y};
  form.rcArea = {origin.x, origin.y, origin.x + UnitX(composition_.text.size()), origin.y + line_height_};
  return form;
}

LRESULT EditorControl::OnImeRequest(WPARAM kind, LPARAM lp) {
  switch (kind) {
    case IMR_RECONVERTSTRING: return Reconvert(reinterpret_cast<RECONVERTSTRING*>(lp));
    case IMR_CONFIRMRECONVERTSTRING: return ConfirmReconversion(reinterpret_cast<const RECONVERTSTRING*>(lp));
    case IMR_DOCUMENTFEED: return DocumentFeed(reinterpret_cast<RECONVERTSTRING*>(lp));
    case IMR_QUERYCHARPOSITION: return CharPosition(reinterpret_cast<IMECHARPOSITION*>(lp));
    case IMR_COMPOSITIONWINDOW: *reinterpret_cast<COMPOSITIONFORM*>(lp) = CompositionPlace(); return TRUE;
    case IMR_CANDIDATEWINDOW: {
      auto* form = reinterpret_cast<CANDIDATEFORM*>(lp);
      DWORD index = form->dwIndex;
      *form = CandidatePlace();
      form->dwIndex = index;
      return TRUE;
    }
    case IMR_COMPOSITIONFONT: return GetObjectA(font_, sizeof(LOGFONTA), reinterpret_cast<LOGFONTA*>(lp)) != 0;
    default: return 0;
  }
}

// Asked twice: for the size (no buffer), then to fill. Filling selects the part to
// convert, so the input method's result replaces exactly it.
LRESULT EditorControl::Reconvert(RECONVERTSTRING* out) {
  std::optional<ImeSpan> span = CanEdit() && composition_.empty() ? ReconversionSpan(text_, chars_) : std::nullopt;
  if (!span) return 0;
  std::string text = ImeText(text_, chars_, span->begin, span->end);
  LRESULT size = FillReconvert(out, text, span->comp_begin - span->begin, span->comp_end - span->comp_begin);
  if (out && size) {
    reconversion_ = *span;
    Select(span->comp_begin, span->comp_end);
  }
  return size;
}

LRESULT EditorControl::ConfirmReconversion(const RECONVERTSTRING* in) {
  if (!in || !reconversion_) return FALSE;
  std::optional<ImeSpan> span = ConfirmedSpan(text_, chars_, *reconversion_, in->dwCompStrOffset, in->dwCompStrLen);
  if (!span || in->dwStrLen != reconversion_->end - reconversion_->begin) return FALSE;
  Select(span->comp_begin, span->comp_end);
  return TRUE;
}

// The line round the composition, with the composition in it where it stands.
LRESULT EditorControl::DocumentFeed(RECONVERTSTRING* out) {
  ImeSpan span = FeedSpan(text_);
  std::string composed = AnsiFromWide(reinterpret_cast<const wchar_t*>(composition_.text.c_str()));
  std::size_t resume = std::max(span.comp_begin, CompositionResume());
  std::string text = ImeText(text_, chars_, span.begin, span.comp_begin) + composed +
                     (resume < span.end ? ImeText(text_, chars_, resume, span.end) : std::string());
  return FillReconvert(out, text, span.comp_begin - span.begin, composed.size());
}

LRESULT EditorControl::CharPosition(IMECHARPOSITION* position) {
  if (!position || position->dwSize < sizeof(IMECHARPOSITION)) return FALSE;
  std::size_t unit = UnitAtAnsiOffset(composition_.text, position->dwCharPos, SystemCodePage());
  POINT pt = CompositionOrigin();
  pt.x += UnitX(unit);
  ClientToScreen(hwnd_, &pt);
  position->pt = pt;
  position->cLineHeight = static_cast<UINT>(line_height_);
  RECT client;
  GetClientRect(hwnd_, &client);
  MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  position->rcDocument = client;
  return TRUE;
}

std::optional<EditorControl::CompositionGap> EditorControl::Gap() const {
  if (composition_.empty()) return std::nullopt;
  std::size_t at = text_.SelStart(), end = text_.SelEnd();
  std::size_t line = text_.LineOf(at);
  return CompositionGap{line, at, end > at && text_.LineOf(end) == line ? end : at};
}

std::size_t EditorControl::CompositionResume() const {
  std::optional<CompositionGap> gap = Gap();
  return gap ? gap->resume : text_.SelStart();
}

void EditorControl::MeasureComposition(HDC dc) {
  const std::u16string& text = composition_.text;
  composition_xs_.assign(text.size() + 1, 0);
  if (text.empty()) return;
  std::vector<int> extents(text.size());
  SIZE size{};
  GetTextExtentExPointW(dc, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), 0, nullptr,
                        extents.data(), &size);
  std::copy(extents.begin(), extents.end(), composition_xs_.begin() + 1);
}

}  // namespace quillet
