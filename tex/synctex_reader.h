#pragma once
// Source and typeset page matched through SyncTeX data: where a source line was set
// (forward) and which source line set a point of a page (inverse). Positions are PDF
// big points from the page's top-left corner, y growing downwards.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/code_page_932.h"
#include "tex/synctex_file.h"

namespace quillet {

struct SynctexRect {
  double x = 0, y = 0, w = 0, h = 0;
};

struct SynctexForward {
  int page = 0;  // 0: the line was set nowhere
  std::vector<SynctexRect> boxes;
};

struct SynctexInverse {
  bool found = false;
  std::string file;  // the name as the data writes it
  int line = 0;
};

class SynctexReader {
 public:
  // text: the data's uncompressed text (tex/synctex_gzip.h).
  explicit SynctexReader(std::string_view text);

  // Where line of source (its full name, Shift-JIS or UTF-8) was set: the first page
  // holding it, and there the stretch of each line of type that holds its material.
  // folder: that of the data, against which the data's relative names are read.
  SynctexForward Forward(std::string_view source, std::string_view folder, int line,
                         const CodePage932& code_page) const;

  // The source line of the innermost box around (x, y) on page, the nearest of its
  // records when it holds any; the nearest record of the page when no box holds the point.
  SynctexInverse Inverse(int page, double x, double y) const;

  const SynctexData& data() const { return data_; }

 private:
  SynctexRect Rect(std::int32_t h0, std::int32_t h1, std::int32_t v, std::int32_t height, std::int32_t depth) const;
  SynctexRect NodeRect(std::uint32_t node) const;
  SynctexRect LineStretch(std::uint32_t box, std::int32_t tag, std::int32_t line) const;
  std::int32_t NearestRecord(std::uint32_t first, std::uint32_t end, double x, double y) const;
  SynctexInverse Answer(const SynctexNode& node) const;

  SynctexData data_;
  std::vector<std::uint32_t> by_line_;  // record and box indexes, by tag, line, position
};

}  // namespace quillet
