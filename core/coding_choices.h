#pragma once
// The encodings and line ends a user picks from, in the order the lists show them (the
// new-document setting, the save dialog), with their captions.
#include <iterator>

#include "core/text_encoding.h"

namespace quillet {

struct EncodingChoice {
  const char* caption;
  Encoding encoding;
  bool bom;
};
inline constexpr EncodingChoice kEncodingChoices[] = {
    {"Shift-JIS", Encoding::kShiftJis, false},       {"UTF-8", Encoding::kUtf8, false},
    {"UTF-8 (BOM付き)", Encoding::kUtf8, true},      {"EUC-JP", Encoding::kEucJp, false},
    {"JIS (ISO-2022-JP)", Encoding::kIso2022Jp, false},
};

struct LineEndChoice {
  const char* caption;
  LineEnd line_end;
};
inline constexpr LineEndChoice kLineEndChoices[] = {
    {"CR+LF (Windows)", LineEnd::kCrLf}, {"LF (Unix)", LineEnd::kLf}, {"CR (旧Mac)", LineEnd::kCr}};

// The entries that show a coding.
int EncodingChoiceOf(const FileCoding& coding);
int LineEndChoiceOf(LineEnd line_end);
// The coding two entries name; an index outside its list keeps that part of base.
FileCoding CodingOfChoices(int encoding, int line_end, const FileCoding& base);

}  // namespace quillet
