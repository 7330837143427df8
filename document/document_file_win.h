#pragma once
// What a file must be to become a document's text: no larger than a document may grow,
// readable, and text in one of the codings the program reads; and how it becomes the
// editor's text.
#include <cstdint>
#include <optional>
#include <string>

#include "core/text_decode.h"
#include "core/text_encoding.h"
#include "core/text_gap.h"

namespace quillet {

// The most a document holds, in bytes: the limit its editor is given.
inline constexpr std::uint64_t kDocumentLimit = 214748364;

// A file read for a document: the editor's text, the file's coding, what the editor needs
// to show and write back the characters Shift-JIS lacks, and what the user is told.
struct DocumentContent {
  DecodedText decoded;
  FileCoding coding;
  bool mixed_line_ends = false;
};

struct ReadOptions {
  LineEnd line_end_default = LineEnd::kCrLf;   // for a file without line ends
  std::optional<Encoding> encoding{};          // read in this encoding instead of the one found
};

// Reads the whole file for opening or inserting. False when it cannot be a document;
// refusal is then the message that tells the user why. The bytes are read once: finding
// the coding and converting work on them in memory, and a Shift-JIS file's bytes become
// the text without a copy.
bool ReadDocumentFile(const std::string& name, const ReadOptions& options, DocumentContent& content,
                      std::string& refusal);

// The message for a document whose characters outnumber the codes it can give them, or
// empty when all found one.
std::string TooManyCharactersText(const std::string& name, const ForeignChars& chars);

// The message for a file whose line ends are of several kinds.
std::string MixedLineEndsText(const std::string& name, const FileCoding& coding);

}  // namespace quillet
