#pragma once
// Forward search: where the viewer should show a line of source. The SyncTeX data is that
// of the document typeset: the source itself, or a main document in its folder or one of
// the two above whose last run read it (a chapter of a book). The data is read into a
// reader once and kept while its file stays the same.
#include <cstdint>
#include <memory>
#include <string>

#include "tex/synctex_reader.h"

namespace quillet {

struct ForwardPlace {
  std::string dvi;  // the typeset document's; empty when no data holds the source
  int page = 0;     // from 1; 0 when the line was set nowhere
};

class ForwardSearch {
 public:
  ForwardSearch();
  ~ForwardSearch();

  // The .synctex.gz file whose data names source; empty when there is none.
  static std::string DataFor(const std::string& source);

  ForwardPlace Find(const std::string& source, int line);

 private:
  const SynctexReader* ReaderOf(const std::string& data_file);

  std::string file_;
  std::uint64_t stamp_ = 0, size_ = 0;
  std::unique_ptr<SynctexReader> reader_;
};

}  // namespace quillet
