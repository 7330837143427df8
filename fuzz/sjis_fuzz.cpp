// The Shift-JIS helpers on any bytes: character walks stay inside the text, cuts and
// file-name parts never split a double-byte character and put the name back together.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/sjis.h"
#include "fuzz/fuzz_checks.h"

namespace {

using fuzz_checks::Require;

// Whether the prefix of text of n bytes ends on a character boundary.
bool EndsOnBoundary(std::string_view text, std::size_t n) {
  std::size_t i = 0;
  while (i < n) i += quillet::CharLength(text, i);
  return i == n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillet;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = CharLength(text, i);
    Require(n == 1 || n == 2);
    Require(i + n <= text.size());
    i += n;
  }
  std::size_t limit = size ? data[0] % (size + 1) : 0;
  std::string_view cut = CutToBytes(text, limit);
  Require(cut.size() <= limit && text.substr(0, cut.size()) == cut && EndsOnBoundary(text, cut.size()));
  // The longest such prefix: the next character would pass the limit.
  Require(cut.size() == text.size() || cut.size() + CharLength(text, cut.size()) > limit);
  std::string path = ExtractFilePath(text), name = ExtractFileName(text);
  Require(path + name == text);
  Require(EndsOnBoundary(text, path.size()));
  std::string renamed = ChangeFileExt(text, ".bak");
  Require(renamed.size() >= 4 && renamed.compare(renamed.size() - 4, 4, ".bak") == 0);
  Require(SameIgnoringAsciiCase(text, text) && SameFileName(text, text));
  for (int n = 1; n <= 3; ++n) Require(GetField(text, ',', n).size() <= text.size());
  return 0;
}
