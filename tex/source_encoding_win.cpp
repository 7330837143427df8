#include "tex/source_encoding.h"

#include <algorithm>

#include "core/sjis.h"
#include "win/file_io_win.h"

namespace quillet {

namespace {
// Larger files are not read to find their code.
constexpr std::uint64_t kMostBytesRead = 64u << 20;

std::optional<std::string> ReadWhole(const std::string& path) {
  TextBlock block;
  if (ReadFileBlock(path, block, kMostBytesRead) != ReadStatus::Ok) return std::nullopt;
  return std::string(block.data.get(), block.size);
}
}  // namespace

std::optional<Encoding> SourceFileEncoding(const std::string& path) {
  std::string folder = ExtractFilePath(path);
  auto read = [&folder](const std::string& name) {
    std::string file = name;  // a name of plain ASCII: no trail byte to mistake
    std::replace(file.begin(), file.end(), '/', '\\');
    return ReadWhole(folder + file);
  };
  std::optional<std::string> source = ReadWhole(path);
  return source ? SourceEncoding(*source, read) : std::nullopt;
}

}  // namespace quillet
