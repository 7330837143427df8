// SyncTeX data of any bytes (plain or gzip): the reader keeps to the bytes, its nesting
// stays inside each page, and searches answer only pages, files and lines the data holds,
// with finite boxes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_checks.h"
#include "tests/unit/iconv_code_page.h"
#include "tex/synctex_gzip.h"
#include "tex/synctex_reader.h"

namespace {

using fuzz_checks::Require;
using namespace quillet;

// Whether page holds a node of line from a file named file.
bool Holds(const SynctexData& data, const SynctexPage& page, std::string_view file, int line) {
  for (std::uint32_t i = page.first; i < page.end; ++i) {
    if (data.nodes[i].line != line) continue;
    for (const SynctexInput& input : data.inputs)
      if (input.tag == data.nodes[i].tag && (file.empty() || input.name == file)) return true;
  }
  return false;
}

void CheckStructure(const SynctexData& data) {
  std::uint32_t previous_end = 0;
  for (const SynctexPage& page : data.pages) {
    Require(previous_end <= page.first && page.first <= page.end && page.end <= data.nodes.size());
    for (std::uint32_t i = page.first; i < page.end; ++i) {
      const SynctexNode& node = data.nodes[i];
      Require(node.extent < data.extents.size());
      Require(data.End(i) > i && data.End(i) <= page.end);
      Require(node.parent < static_cast<std::int32_t>(i));
      Require(node.parent < 0 || (static_cast<std::uint32_t>(node.parent) >= page.first &&
                                  data.End(static_cast<std::uint32_t>(node.parent)) >= data.End(i)));
    }
    previous_end = page.end;
  }
}

void CheckForward(const SynctexReader& reader, std::string_view file, int line) {
  const SynctexData& data = reader.data();
  SynctexForward got = reader.Forward(file, "", line, IconvCodePage());
  Require((got.page == 0) == got.boxes.empty());
  if (got.page == 0) return;
  Require(std::any_of(data.pages.begin(), data.pages.end(),
                      [&](const SynctexPage& p) { return p.number == got.page && Holds(data, p, "", line); }));
  for (const SynctexRect& r : got.boxes) Require(std::isfinite(r.x) && std::isfinite(r.y) && r.w >= 0 && r.h >= 0);
}

void CheckInverse(const SynctexReader& reader, int page, double x, double y) {
  const SynctexData& data = reader.data();
  SynctexInverse got = reader.Inverse(page, x, y);
  if (!got.found) return;
  Require(std::any_of(data.pages.begin(), data.pages.end(),
                      [&](const SynctexPage& p) { return p.number == page && Holds(data, p, got.file, got.line); }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(bytes), size);
  std::string inflated;
  if (!SynctexText(input, inflated, std::size_t{1} << 22)) return 0;
  // Plain data is read straight from the fuzzer's buffer, so a read past it is caught.
  bool packed = size >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
  SynctexReader reader(packed ? std::string_view(inflated) : input);
  const SynctexData& data = reader.data();
  CheckStructure(data);
  std::size_t checks = 0;
  for (const SynctexInput& file : data.inputs) {
    for (std::size_t i = 0; i < data.nodes.size() && checks < 16; i += 1 + data.nodes.size() / 8, ++checks)
      CheckForward(reader, file.name, data.nodes[i].line);
    CheckForward(reader, file.name, 0);
  }
  for (const SynctexPage& page : data.pages) {
    for (std::uint32_t i = page.first; i < page.end && checks < 48; i += 1 + (page.end - page.first) / 4, ++checks) {
      const SynctexNode& node = data.nodes[i];  // near its own place when the units are TeX's
      CheckInverse(reader, page.number, node.h / 65536.0 + 72, node.v / 65536.0 + 72);
    }
    CheckInverse(reader, page.number, 100, 100);
  }
  return 0;
}
