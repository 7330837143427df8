#pragma once
// The code a TeX source is written in, and so the code the engine writes its log in: the
// engine bridge tells the engine the first, and TeX Quillet reads the log in the second.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_encoding.h"

namespace quillet {

// The files a source reads in, as it names them: \input{x}, \input x and \include{x}
// outside comments, in order, ".tex" added to a name without an extension.
std::vector<std::string> IncludedFiles(std::string_view source);

// The bytes of a file a source reads in, by the name the source gives it (relative to
// the source's folder, "/" between folders); nullopt when there is none.
using IncludedFileReader = std::function<std::optional<std::string>(const std::string& name)>;

// The encoding a source is written in, as its bytes show it; a source of plain ASCII
// takes that of the first file it reads in (followed into the files those read in) that
// holds more than ASCII; nullopt when none does.
std::optional<Encoding> SourceEncoding(std::string_view source, const IncludedFileReader& read);

// The same for a source file, the files it reads in found beside it.
std::optional<Encoding> SourceFileEncoding(const std::string& path);

// The encoding of a log: the source's when the log reads validly in it (a log is mostly
// ASCII, and short Japanese texts often read in more than one code), else as its bytes
// show it.
Encoding LogEncoding(std::string_view log, std::optional<Encoding> source);

}  // namespace quillet
