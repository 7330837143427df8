#include "tex/tex_commands.h"

#include <vector>

#include "core/command_line.h"
#include "core/sjis.h"

namespace quillet {

namespace {

// The command buffers of the engine and the viewers hold names of up to 254 bytes.
constexpr std::size_t kMaxCommandName = 254;

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

constexpr const char* kEngineBridgeProgram = "quillet-tex.exe";

// What TeX reads wrongly in the name it is started on (see CheckCommandName).
NameCheck CheckNameForTeX(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    std::string_view two = name.substr(i, 2);
    if (name[i] == '%' || name[i] == '~') return {CommandName::TeXCannotRead, std::string(1, name[i])};
    if (two == "^^" || two == "  ") return {CommandName::TeXCannotRead, std::string(two)};
  }
  return {};
}

}  // namespace

std::string EngineCommand(std::string_view source_name, int format_index) {
  std::string command = "[virtex(";
  command += source_name;
  command += ',';
  command += std::to_string(format_index);
  command += ")]";
  return command;
}

const char* ViewerService(int viewer_kind) { return viewer_kind == 4 ? "yaWinDVI" : "WinDVI"; }

bool ViewerQuotesName(int viewer_kind) { return viewer_kind >= 0 && viewer_kind <= 2; }

std::string ViewerOpenCommand(std::string_view dvi_name, int viewer_kind) {
  std::string command = "[FileOpen(";
  command += ViewerQuotesName(viewer_kind) ? Quoted(dvi_name) : std::string(dvi_name);
  command += ")]";
  return command;
}

std::string ViewerForwardSearchCommand(std::string_view source, int line, int page) {
  std::string command = "[ForwardSearch(";
  command += Quoted(source);
  return command + "," + std::to_string(line) + "," + std::to_string(page) + ")]";
}

std::string DigitalManualPath(std::string_view viewer_path) {
  std::string dir = ExtractFilePath(viewer_path);
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < dir.size(); i += CharLength(dir, i)) starts.push_back(i);
  dir.resize(starts.size() >= 4 ? starts[starts.size() - 4] : 0);
  return dir + "Digital\\Windig.dvi";
}

bool IsEngineBridge(std::string_view engine_command) {
  std::vector<std::string> words = SplitCommandLine(engine_command);
  return !words.empty() && SameIgnoringAsciiCase(ExtractFileName(words[0]), kEngineBridgeProgram);
}

NameCheck CheckCommandName(std::string_view name, NameTaker taker) {
  if (taker == NameTaker::kEngineBridge) return CheckNameForTeX(ExtractFileName(name));
  if (name.size() > kMaxCommandName) return {CommandName::TooLong, {}};
  std::string_view refused = taker == NameTaker::kViewerQuoted ? "\"" : "]),";
  // Stepping over whole characters keeps trail bytes such as 0x5D out of the test.
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (refused.find(name[i]) != std::string_view::npos) return {CommandName::BreaksCommand, std::string(1, name[i])};
  }
  return {};
}

std::string EditorCommandLine(std::string_view editor, std::string_view log_name) {
  std::string line(editor);
  line += ' ';
  line += log_name.find(' ') == std::string_view::npos ? std::string(log_name) : Quoted(log_name);
  return line;
}

std::string RunEndedText(unsigned long milliseconds) {
  unsigned long tenths = (milliseconds + 50) / 100;
  std::string text = "TeX 終了 (";
  return text.append(std::to_string(tenths / 10)).append(".").append(std::to_string(tenths % 10)).append(" 秒)");
}

}  // namespace quillet
