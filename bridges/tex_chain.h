#pragma once
// The chain of tools that makes a LaTeX source into a finished .dvi: the engine, the
// bibliography and index tools, and the engine again until the cross-references settle.
// latexmk drives it when the TeX installation has it; else the engine bridge runs the
// passes itself by the same rules. Every tool is told the source's code, so Japanese
// text comes through whole (pbibtex without -kanji=sjis turns the 0x5C trail byte of ソ
// into a backslash and still reports success). Every tool runs in the work folder
// beside the source (TeX Live refuses to write by a name that climbs or hides), finding
// the source's files through the search paths.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text_encoding.h"

namespace quillet {

// The commands of a chain; empty bibliography or index: the format has none.
struct ChainTools {
  std::string engine;        // with -kanji= for the pTeX family
  std::string bibliography;  // pbibtex -kanji=sjis, upbibtex -kanji=utf8, bibtex
  std::string index;         // mendex -f -S, upmendex -f, makeindex
};

// A TeX engine's command (its program's name ends in "tex") with -synctex=1, unless it
// names a -synctex of its own: every pass writes the data that links the source and the
// page. Another program's command as it is.
std::string WithSyncTeX(const std::string& engine_command);

// The chain for a built-in engine command: a LaTeX format of the pTeX family or plain
// LaTeX. Nothing for the plain TeX formats or another program: they run as one pass.
std::optional<ChainTools> ChainToolsFor(const std::string& engine_command, Encoding encoding);

// The name the tools write their files by: the source's own name when it is plain ASCII,
// else one made from it (pTeX writes Japanese names in the log in the source's code, in
// which the tools that follow cannot find them).
std::string JobNameFor(std::string_view source_name);

// latexmk's configuration (Perl): the tools above, a .dvi, at most five engine passes.
std::string LatexmkConfig(const ChainTools& tools);
enum class Quoting { kShell, kWindows };
// The command that runs latexmk in the work folder on the source one folder up; the
// user's own .latexmkrc there is read after the configuration.
std::string LatexmkCommand(const std::string& latexmk, const std::string& config_name, bool user_config,
                           const std::string& job, const std::string& source_name, Quoting quoting);
// The same steps run one by one.
std::string EnginePassCommand(const std::string& engine, const std::string& job, const std::string& source_name,
                              Quoting quoting);
std::string BibliographyCommand(const std::string& tool, const std::string& job);
std::string IndexCommand(const std::string& tool, const std::string& job);

// The search paths every tool gets: the source's folder first (named from the work folder,
// "..": so the files found there are named as the source is, "../chap.tex", in the log,
// the recorder's list and the SyncTeX data), then the folders of the TeX settings (each
// converted as the tools name folders; empty: left out), then the distribution's own.
// Variables without a folder of their own are left out.
struct UserPaths {
  std::string inputs, fonts, formats, pool;  // as the settings hold them, ";" between folders
};
using Variables = std::vector<std::pair<std::string, std::vector<std::string>>>;
Variables ChainVariables(const UserPaths& paths, const std::function<std::string(const std::string&)>& convert);
// A variable's value: the folders, each followed by the separator, so that the empty
// last element stands for the distribution's own folders.
std::string SearchPathValue(const std::vector<std::string>& folders, char separator);

// What the bridge knows after a step of the passes it runs itself.
struct PassFacts {
  bool engine_errors = false;
  std::string citations;   // the .aux's \bibdata, \bibstyle and \citation lines
  std::string index;       // the .idx as written
  bool rerun_asked = false;  // the last engine pass's log asks for another
};
struct ChainProgress {
  int engine_passes = 1;  // the first has run when the next step is asked for
  std::string citations_done, index_done;  // what the tools last ran on
  bool engine_due = false;                 // a tool ran since the last engine pass
};
enum class ChainStep { kEngine, kBibliography, kIndex, kDone };
inline constexpr int kMaxEnginePasses = 5;
// The step after an engine pass or a tool that succeeded; updates progress.
ChainStep NextStep(const ChainTools& tools, const PassFacts& facts, ChainProgress& progress);
// The lines of an .aux that decide the bibliography.
std::string CitationLines(std::string_view aux);
// Whether an engine's log asks for another pass.
bool LogAsksRerun(std::string_view log);

// A tool's error as the error window shows it: file and line when it names them.
struct ToolError {
  std::string file;
  int line = 0;
  std::string message;
};
// The errors in a BibTeX .blg and an index tool's .ilg (warnings are not errors).
std::vector<ToolError> BibliographyErrors(std::string_view blg);
std::vector<ToolError> IndexErrors(std::string_view ilg);
// The line of a file that a BibTeX line number means: BibTeX counts the CR and the LF of
// a CR LF each as a line end.
int LineInFile(std::string_view bytes, int counted);
// latexmk's own complaints from its messages, for a failure no tool's log explains.
std::vector<ToolError> LatexmkErrors(std::string_view messages);
// The lines the engine bridge appends to the log for a failed step: the step first, then
// "file:line: message" (or the message alone), each with the log reader's mark. step is
// already in the log's code.
std::string ChainReport(std::string_view step, const std::vector<ToolError>& errors);
// A program's exit status as people look it up: a Windows exception's code (an NTSTATUS,
// negative as an int) in hex, "0xC0000005"; a status as a shell gives it, in decimal.
std::string ExitCodeText(int status);

// The files a run read from the source's folder besides the source (chapters, .bib), named
// from that folder, from the engine's recorder file (.fls) and the .blg: the rule that a
// run can be skipped looks at them. source_folder is the folder as the tools name it;
// name_of turns a name as a tool wrote it (pTeX writes its own code) into the form of
// source_name, which the answer takes too, with "\" between folders.
std::vector<std::string> ChainInputs(std::string_view fls, std::string_view blg, std::string_view source_folder,
                                     std::string_view source_name,
                                     const std::function<std::string(const std::string&)>& name_of);

}  // namespace quillet
