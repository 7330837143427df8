#pragma once
// The position conventions of the rich-edit requests, answered from a TextBuffer.
// Positions and lines arrive as signed numbers: -1 has a meaning of its own in most of
// them, and numbers past the end are taken as the end.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/text_buffer.h"

namespace quillet {

// EM_SETSEL / EM_EXSETSEL: (0, -1) selects all; start -1 removes the selection keeping
// the caret; end -1 means the end of the text; the caret goes to end's side.
void SetSelectionRequest(TextBuffer& text, long start, long end);
// EM_GETSEL's answer: start in the low word, end in the high word; -1 when either does
// not fit in 16 bits.
std::int64_t PackedSelection(const TextBuffer& text);
// EM_LINEFROMCHAR: pos -1 is the start of the selection.
long LineFromCharRequest(const TextBuffer& text, long pos);
// EM_LINEINDEX: line -1 is the caret's line; a line past the last answers -1.
long LineIndexRequest(const TextBuffer& text, long line);
// EM_LINELENGTH: length without the break of the line holding pos; pos -1 counts the
// unselected bytes on the lines that hold the selection.
long LineLengthRequest(const TextBuffer& text, long pos);
// EM_GETLINE: the line's bytes without its break (empty past the last line).
std::string LineTextRequest(const TextBuffer& text, long line);
// EM_FINDTEXT: forward from min; max -1 is the end of the text; -1 when not found.
long FindRequest(const TextBuffer& text, std::string_view needle, long min, long max, bool match_case);
// The same for the first of several needles; index tells which one matched.
long FindAnyRequest(const TextBuffer& text, std::span<const std::string_view> needles, long min, long max,
                    bool match_case, std::size_t& index);
// EM_GETTEXTRANGE: the bytes of [min, max), max -1 being the end.
std::string TextRangeRequest(const TextBuffer& text, long min, long max);

}  // namespace quillet
