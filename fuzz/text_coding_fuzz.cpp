// A file's bytes in any coding on any input: finding the coding never fails, reading
// them into the editor's text and writing that back gives the same bytes (line ends of
// one kind), an edit at a character boundary changes only the bytes of what was edited,
// and the one-pass UTF-8 reader agrees with the UTF-8 test.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text_decode.h"
#include "core/text_encode.h"
#include "core/text_encoding.h"
#include "fuzz/fuzz_checks.h"
#include "tests/unit/iconv_code_page.h"

namespace {

using fuzz_checks::Require;

std::string Encode(std::string_view text, const quillet::FileCoding& coding, const quillet::DecodedText& from) {
  std::string out;
  quillet::Unholdable bad;
  Require(quillet::EncodeText(text, coding, quillet::IconvCodePage(), from.chars, &from.jis_forms, out, bad));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillet;
  if (size == 0) return 0;
  static const Encoding kEncodings[] = {Encoding::kShiftJis, Encoding::kUtf8, Encoding::kEucJp, Encoding::kIso2022Jp};
  Encoding encoding = kEncodings[data[0] % 4];
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  DetectedCoding detected = DetectCoding(bytes, LineEnd::kCrLf);
  if (detected.not_text != NotText::kNone || detected.mixed_line_ends) return 0;
  DecodedText strict;
  Require(DecodeIfUtf8(bytes, IconvCodePage(), strict) == IsValidUtf8(bytes));
  DecodedText decoded;
  DecodeText(bytes, encoding, IconvCodePage(), decoded);
  if (decoded.chars.overflow() != 0) return 0;
  std::string text(decoded.text.data.get(), decoded.text.size);
  // Lines counted while the text was written are the text's own.
  if (decoded.text.lines_counted) {
    std::size_t line = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
      Require(line < decoded.text.line_starts.size() && decoded.text.line_starts[line++] == at + 2);
    }
    Require(line == decoded.text.line_starts.size());
  }
  FileCoding coding{encoding, false, detected.coding.line_end};
  Require(Encode(text, coding, decoded) == bytes);
  // An ASCII letter typed at the start of a line other than the first: the bytes before
  // that line stay as they were (later ISO-2022-JP lines may change their escapes).
  std::size_t line = text.find("\r\n");
  if (line != std::string::npos && encoding != Encoding::kIso2022Jp) {
    std::string typed = text.substr(0, line + 2);
    typed.append(1, 'x').append(text, line + 2);
    std::string before = Encode(text.substr(0, line + 2), coding, decoded);
    std::string after = Encode(typed, coding, decoded);
    Require(after.compare(0, before.size(), before) == 0 && after[before.size()] == 'x');
    Require(after.substr(before.size() + 1) == bytes.substr(before.size()));
  }
  return 0;
}
