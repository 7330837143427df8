#pragma once
// What a file must be to become a document's text: no larger than a document may grow,
// readable, and text (no NUL bytes).
#include <cstdint>
#include <string>

#include "core/text_gap.h"

namespace quillet {

// The most a document holds, in bytes: the limit its editor is given.
inline constexpr std::uint64_t kDocumentLimit = 214748364;

// Reads the whole file for opening or inserting. False when it cannot be a document;
// refusal is then the message that tells the user why.
bool ReadDocumentFile(const std::string& name, TextBlock& block, std::string& refusal);

}  // namespace quillet
