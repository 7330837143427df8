#pragma once
// What the viewer bridge tells the user when the converter made no PDF: the step, the
// converter's exit status and the lines of its messages that say what went wrong.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/code_page_932.h"

namespace quillet {

// Of the converter's messages, the first `most` lines that tell of an error (an error, a
// fatal stop, something that could not be found or done); when none does, the last `most`
// lines that hold anything. Without their line ends, each followed by LF.
std::string ConverterErrorLines(std::string_view messages, std::size_t most = 5);

// Text a Linux program wrote (UTF-8) in code page 932; a character without a code there,
// and a byte that reads as no character, become "?".
std::string ShiftJisFromUtf8(std::string_view utf8, const CodePage932& code_page);

// The message for a conversion that made no PDF: converter and status (0: it ended well
// but wrote no PDF), the error lines, and that the PDF is left as it was.
std::string ConversionFailedText(std::string_view converter, int status, std::string_view error_lines,
                                 std::string_view pdf);

}  // namespace quillet
