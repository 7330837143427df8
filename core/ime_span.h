#pragma once
// What the editor shows an input method of the text round a conversion: for a
// reconversion the selection (or the word at the caret) with the rest of its line, and
// for a document feed the line round the caret. Positions are byte offsets of the
// editor's Shift-JIS text; the context is cut at a few thousand bytes either side, so a
// huge line or document costs no more than a short one.
#include <cstddef>
#include <optional>
#include <string>

#include "core/foreign_chars.h"
#include "core/text_buffer.h"

namespace quillet {

// The text given ([begin, end)) and the part of it to convert ([comp_begin, comp_end)).
struct ImeSpan {
  std::size_t begin = 0, end = 0, comp_begin = 0, comp_end = 0;
  bool operator==(const ImeSpan&) const = default;
};

inline constexpr std::size_t kImeContextBytes = 1024;  // each side of the part converted
inline constexpr std::size_t kMaxReconversionBytes = 4096;

// The selection, or the word at the caret (empty on a blank or a break: the input method
// then picks), inside its line. None when the selection is longer than the limit or holds
// a document's own character (an input method knows it only as a private-use code, and
// its result would put that code in the character's place).
std::optional<ImeSpan> ReconversionSpan(const TextBuffer& text, const ForeignChars& chars);

// The line round the selection's start, with nothing to convert at that place.
ImeSpan FeedSpan(const TextBuffer& text);

// The part an input method confirmed, given as offset and length within the text it was
// shown: none unless it lies inside that text, on character boundaries, without a
// document's own character.
std::optional<ImeSpan> ConfirmedSpan(const TextBuffer& text, const ForeignChars& chars, const ImeSpan& shown,
                                     std::size_t offset, std::size_t length);

// The text of [begin, end) as an input method is given it: a document's own character
// shows as 〓, which keeps every offset in place.
std::string ImeText(const TextBuffer& text, const ForeignChars& chars, std::size_t begin, std::size_t end);

}  // namespace quillet
