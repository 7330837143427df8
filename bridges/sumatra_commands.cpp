#include "bridges/sumatra_commands.h"

#include <algorithm>

#include "core/sjis.h"

namespace quillet {

namespace {

// A viewer command cut into its program file (without quotes) and what follows it.
struct ViewerProgram {
  std::string_view program;
  std::string_view arguments;
};

// Where an unquoted program name ends: after the first ".exe" that a blank or the end
// follows (the name may hold blanks), else at the first blank.
std::size_t UnquotedProgramEnd(std::string_view command) {
  for (std::size_t i = 0; i < command.size(); i += CharLength(command, i)) {
    std::size_t end = i + 4;
    if (SameIgnoringAsciiCase(command.substr(i, 4), ".exe") &&
        (end == command.size() || command[end] == ' ' || command[end] == '\t')) {
      return end;
    }
  }
  return std::min(command.find_first_of(" \t"), command.size());
}

ViewerProgram SplitViewerCommand(std::string_view command) {
  command = Trimmed(command);
  if (StartsWith(command, "\"")) {
    std::size_t close = std::min(command.find('"', 1), command.size());
    return {command.substr(1, close - 1), Trimmed(command.substr(std::min(close + 1, command.size())))};
  }
  std::size_t end = UnquotedProgramEnd(command);
  return {command.substr(0, end), Trimmed(command.substr(end))};
}

// A name in double quotes. The names end in their extensions, so no backslash stands
// before the closing quote, and a trail byte 0x5C is left as it is.
std::string Quoted(std::string_view name) {
  std::string quoted = "\"";
  quoted += name;
  quoted += '"';
  return quoted;
}

}  // namespace

bool IsSumatraViewer(std::string_view viewer_command) {
  std::string name = ExtractFileName(SplitViewerCommand(viewer_command).program);
  // Windows takes "/" between folders too; it is never a trail byte.
  std::size_t slash = name.rfind('/');
  return SameFileName(slash == std::string::npos ? name : name.substr(slash + 1), "SumatraPDF.exe");
}

std::string SumatraOpenCommand(std::string_view pdf) { return std::string("[Open(") + Quoted(pdf) + ",0,1,1)]"; }

std::string SumatraGotoPageCommand(std::string_view pdf, int page) {
  return std::string("[GotoPage(") + Quoted(pdf) + "," + std::to_string(page) + ")]";
}

std::string SumatraForwardSearchCommand(std::string_view pdf, std::string_view source, int line) {
  return std::string("[ForwardSearch(") + Quoted(pdf) + "," + Quoted(source) + "," + std::to_string(line) +
         ",0,0,1)]";
}

std::string SumatraStartCommandLine(std::string_view viewer_command, std::string_view pdf,
                                    std::string_view quillet_exe) {
  ViewerProgram viewer = SplitViewerCommand(viewer_command);
  std::string line = Quoted(viewer.program);
  if (!viewer.arguments.empty()) {
    line += ' ';
    line += viewer.arguments;
  }
  // Inside the quoted option a quote is written \".
  line += " -reuse-instance -inverse-search \"\\\"";
  line += quillet_exe;
  line += "\\\" -line %l \\\"%f\\\"\" ";
  return line + Quoted(pdf);
}

}  // namespace quillet
