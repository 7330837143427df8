#pragma once
// Whether "typeset and preview/print" may skip the engine. The engine bridge lists, after
// every run, the files that run read besides the source (chapters, .bib, the user's own
// .sty) in "<source folder>\.quillet-tex\<source name without extension>.inputs":
// Shift-JIS text, one name a line, each relative to the source's folder or a full name.
// The .dvi is current only when it is newer than the source and than every listed file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The list's file for a source.
std::string RunInputsPath(std::string_view source);

// The names of a list's text, each made a full name: one relative to source_folder (which
// ends in "\") gets that folder in front. Empty lines are passed over.
std::vector<std::string> ParseRunInputs(std::string_view text, std::string_view source_folder);

// File ages as FileAge gives them (-1: missing). A missing input means the run is needed.
bool DviIsCurrent(std::int32_t dvi, std::int32_t source, const std::vector<std::int32_t>& inputs);

// The rule applied to the files on disk: the source's .dvi, the source and its list's
// files. A list that exists but cannot be read means the run is needed; no list, the
// .dvi is judged against the source alone.
bool DviUpToDate(const std::string& source);

}  // namespace quillet
