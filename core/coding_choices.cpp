#include "core/coding_choices.h"

namespace quillet {

int EncodingChoiceOf(const FileCoding& coding) {
  bool bom = coding.encoding == Encoding::kUtf8 && coding.bom;
  for (int i = 0; i < static_cast<int>(std::size(kEncodingChoices)); ++i) {
    if (kEncodingChoices[i].encoding == coding.encoding && kEncodingChoices[i].bom == bom) return i;
  }
  return 0;
}

int LineEndChoiceOf(LineEnd line_end) {
  for (int i = 0; i < static_cast<int>(std::size(kLineEndChoices)); ++i) {
    if (kLineEndChoices[i].line_end == line_end) return i;
  }
  return 0;
}

FileCoding CodingOfChoices(int encoding, int line_end, const FileCoding& base) {
  FileCoding coding = base;
  if (encoding >= 0 && encoding < static_cast<int>(std::size(kEncodingChoices))) {
    coding.encoding = kEncodingChoices[encoding].encoding;
    coding.bom = kEncodingChoices[encoding].bom;
  }
  if (line_end >= 0 && line_end < static_cast<int>(std::size(kLineEndChoices))) {
    coding.line_end = kLineEndChoices[line_end].line_end;
  }
  return coding;
}

}  // namespace quillet
