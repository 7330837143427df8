// What the engine bridge reads from the chain's tools on any bytes: the errors of a .blg,
// an .ilg and latexmk's messages stay single lines, a .bib is never named by the tool's
// own .aux, their report reads back as that many error window lines, the inputs of a run
// are distinct names below the source's folder, and BibTeX's line numbers land on a line
// of the file. Parts between NULs: tool log, recorder file, a number's bytes.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bridges/tex_chain.h"
#include "fuzz/fuzz_checks.h"
#include "tex/log_scan.h"

namespace {

using fuzz_checks::Require;
using namespace quillet;

bool OneLine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string_view> parts = fuzz_checks::SplitAtNul({reinterpret_cast<const char*>(data), size});
  std::string_view log = parts[0], fls = parts.size() > 1 ? parts[1] : log;
  int counted = parts.size() > 2 && !parts[2].empty() ? static_cast<unsigned char>(parts[2][0]) : 1;

  std::vector<ToolError> errors = BibliographyErrors(log);
  for (const ToolError& e : errors) {
    Require(OneLine(e.message) && OneLine(e.file));
    Require(!e.file.ends_with(".aux"));
  }
  for (const std::vector<ToolError>& more : {IndexErrors(log), LatexmkErrors(log)}) {
    for (const ToolError& e : more) Require(OneLine(e.message) && e.file.empty());
    errors.insert(errors.end(), more.begin(), more.end());
  }
  LogWindow window = ScanTeXLog(ChainReport("step", errors));
  Require(window.errors && window.line_count == errors.size() + 1);

  std::vector<std::string> inputs =
      ChainInputs(fls, log, "/d/src", "main.tex", [](const std::string& name) { return name; });
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    Require(!inputs[i].empty() && inputs[i] != "main.tex" && inputs[i].find('/') == std::string::npos);
    Require(std::find(inputs.begin() + static_cast<long>(i) + 1, inputs.end(), inputs[i]) == inputs.end());
  }

  int line = LineInFile(log, counted);
  Require(line >= 1 && line <= std::max(counted, 1));
  return 0;
}
