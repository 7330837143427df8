#include "tex/run_inputs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dos_time.h"

namespace quillet {
namespace {

TEST(RunInputsTest, TheListLiesInTheBridgesFolderBesideTheSource) {
  struct Row { const char* source; const char* list; } rows[] = {
      {"C:\\DOC\\A.TEX", "C:\\DOC\\.quillet-tex\\A.inputs"},
      {"C:\\V1.2\\REPORT", "C:\\V1.2\\.quillet-tex\\REPORT.inputs"},  // no extension; the folder's dot stays
      {"C:\\表\\ソ.b.tex", "C:\\表\\.quillet-tex\\ソ.b.inputs"},     // trail byte 0x5C is no separator
  };
  for (auto r : rows) EXPECT_EQ(RunInputsPath(r.source), r.list) << r.source;
}

TEST(RunInputsTest, NamesAreMadeFullFromTheSourcesFolder) {
  std::string text =
      "chap1.tex\r\n..\\common\\my.sty\r\nC:\\texmf\\x.sty\r\n\r\n\\\\srv\\share\\refs.bib\r\n表\\ソ.tex\nlast.bib";
  EXPECT_EQ(ParseRunInputs(text, "D:\\DOC\\"),
            (std::vector<std::string>{"D:\\DOC\\chap1.tex", "D:\\DOC\\..\\common\\my.sty", "C:\\texmf\\x.sty",
                                      "\\\\srv\\share\\refs.bib", "D:\\DOC\\表\\ソ.tex", "D:\\DOC\\last.bib"}));
  EXPECT_TRUE(ParseRunInputs("\r\n\r\n", "D:\\").empty());
}

TEST(RunInputsTest, TheDviIsCurrentOnlyWhenNewerThanTheSourceAndEveryInput) {
  const std::int32_t old_age = PackDosDateTime({2024, 5, 1, 10, 0, 0});
  const std::int32_t mid = PackDosDateTime({2024, 5, 1, 10, 0, 4});
  const std::int32_t dvi = PackDosDateTime({2024, 5, 1, 10, 0, 8});
  const std::int32_t same_slot = PackDosDateTime({2024, 5, 1, 10, 0, 9});
  const std::int32_t later = PackDosDateTime({2024, 5, 1, 10, 1, 0});
  struct Row { const char* what; std::int32_t dvi, source; std::vector<std::int32_t> inputs; bool current; } rows[] = {
      {"no list", dvi, old_age, {}, true},
      {"source newer", dvi, later, {}, false},
      {"source in the dvi's 2-second slot", dvi, same_slot, {}, false},
      {"no dvi", kMissingFileAge, old_age, {}, false},
      {"inputs all older", dvi, old_age, {old_age, mid}, true},
      {"an input changed since", dvi, old_age, {mid, later}, false},
      {"an input in the dvi's slot", dvi, old_age, {same_slot}, false},
      {"an input missing", dvi, old_age, {mid, kMissingFileAge}, false},
  };
  for (const auto& r : rows) EXPECT_EQ(DviIsCurrent(r.dvi, r.source, r.inputs), r.current) << r.what;
}

}  // namespace
}  // namespace quillet
