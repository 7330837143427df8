#pragma once
// What the engine and viewer bridges make of the commands TeX Quillet sends them over
// DDE, the engine command a format maps to, the shell scripts that run Linux programs
// under Wine, and the logs that tell the user why a run could not happen.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/profile_source.h"

namespace quillet {

// "[virtex(NAME,INDEX)]": the source's file name and the format index.
struct VirtexCommand {
  std::string source;
  int format = -1;
};
std::optional<VirtexCommand> ParseVirtexCommand(std::string_view command);

// A viewer's commands: "[FileOpen(NAME)]" (the name bare or in double quotes),
// "[WinNormal]", "[FilePrint]" and "[ForwardSearch(\"SOURCE\",LINE,PAGE)]".
struct ViewerCommand {
  enum Kind { Open, Show, Print, Place, Other } kind = Other;
  std::string file;  // for Open, the .dvi; for Place, the source
  int line = 0, page = 0;  // for Place
};
ViewerCommand ParseViewerCommand(std::string_view command);

// The engine command for a format: the entry of the user's table (section [Engines] of
// the bridge's settings) named like the format or its menu text, else the built-in
// one (pLaTeX, upLaTeX, LaTeX, pTeX, upTeX, TeX); names compare without ASCII case.
// Empty when neither knows it.
std::string EngineCommandFor(const ProfileSource& user_table, const std::string& format_name,
                             const std::string& menu_text);

// A word for /bin/sh: in single quotes, a quote inside written as '\''.
std::string ShellQuote(std::string_view word);

// Where and how one tool of a run happens, all paths as the Linux side names them.
struct EngineRun {
  // The work folder beside the source, where every tool runs: TeX Live's tools write by
  // no name that climbs or hides, and pTeX reads nothing back by a name holding Japanese.
  std::string directory;
  // The search paths: each variable's folders, the distribution's own after them.
  std::vector<std::pair<std::string, std::vector<std::string>>> environment;
  std::string command;   // the whole command line, as shell words
  std::string messages;  // where its output goes
  std::string marker;    // written with its exit status when it ends
  std::string heartbeat; // touched by the bridge while it lives
  std::string stop;      // made by the bridge to end the run
};
// The number of empty answers the engine gets on its standard input: each error prompt
// is answered as a user pressing Enter would, and the log records it so.
inline constexpr int kEngineAnswers = 40;
// A script for /bin/sh that runs the command in a process group of its own, writes the
// marker as soon as it ends, and meanwhile ends the whole group (latexmk and the tool it
// runs) when the stop file appears or the heartbeat is older than a few seconds (the
// bridge was killed).
std::string EngineScript(const EngineRun& run);

// The viewer bridge's scripts, all names as the Linux side writes them. Each script that
// must be waited for writes its exit status to marker when it ends.
// dvipdfmx (or the set converter) makes pdf from dvi, its messages in messages.
std::string ConvertScript(const std::string& converter, const std::string& dvi, const std::string& pdf,
                          const std::string& messages, const std::string& marker);
// Shows pdf in the viewer, or tells the viewer already showing it (its process number in
// pid_file) to read it again. With a page (from 1) that the viewer can be opened at, the
// viewer showing it is ended and a new one opens there.
std::string ShowScript(const std::string& viewer, const std::string& pdf, const std::string& pid_file, int page = 0);
// The arguments that open pdf (a shell word) at a page, for the viewers known to take
// one; empty for any other viewer.
std::string PageArguments(const std::string& viewer, const std::string& pdf_word, int page);

// zathura shows pdf and is told places over D-Bus. It is started once per document (its
// process number kept in pid_file), on the session bus or, when there is none, on a bus
// of its own that ends with it (its address kept in bus_file); later calls find it again
// and it reads a changed PDF by itself. A Ctrl+click runs editor with %{line} and
// %{input}. With page set it goes there, then looks the line of source up itself (in
// the data beside the PDF) to mark the place.
struct ZathuraShow {
  std::string viewer, pdf, pid_file, bus_file, editor;
  int page = 0;  // 0: only shown
  std::string source;
  int line = 0;
};
std::string ZathuraScript(const ZathuraShow& show);

// Prints pdf; status 127 when the print command is not there.
std::string PrintScript(const std::string& printer, const std::string& pdf, const std::string& marker);

// A log that the error window shows as one error with the message.
std::string FailureLog(std::string_view message);

}  // namespace quillet
