#include "bridges/bridge_commands.h"

#include <charconv>

#include "core/sjis.h"

namespace quillet {

namespace {

struct BuiltInEngine {
  const char* name;
  const char* command;
};
// The pTeX family is told the source's own code on each run.
constexpr BuiltInEngine kBuiltIn[] = {
    {"platex", "platex"}, {"uplatex", "uplatex"}, {"latex", "latex"},
    {"ptex", "ptex"},     {"uptex", "uptex"},     {"tex", "tex"},
};

std::string_view Inside(std::string_view command, std::string_view head, std::string_view tail) {
  if (!StartsWith(command, head) || !command.ends_with(tail) || command.size() < head.size() + tail.size()) return {};
  return command.substr(head.size(), command.size() - head.size() - tail.size());
}

std::string BuiltInCommand(std::string_view name) {
  for (const BuiltInEngine& e : kBuiltIn) {
    if (SameIgnoringAsciiCase(name, e.name)) return e.command;
  }
  return {};
}

}  // namespace

std::optional<VirtexCommand> ParseVirtexCommand(std::string_view command) {
  std::string_view args = Inside(command, "[virtex(", ")]");
  std::size_t comma = args.rfind(',');  // never a trail byte of a double-byte character
  if (comma == std::string_view::npos || comma == 0) return std::nullopt;
  std::string_view index = args.substr(comma + 1);
  VirtexCommand run{std::string(args.substr(0, comma))};
  auto [end, error] = std::from_chars(index.data(), index.data() + index.size(), run.format);
  if (error != std::errc() || end != index.data() + index.size()) return std::nullopt;
  return run;
}

ViewerCommand ParseViewerCommand(std::string_view command) {
  if (command == "[WinNormal]") return {ViewerCommand::Show, ""};
  if (command == "[FilePrint]") return {ViewerCommand::Print, ""};
  std::string_view name = Inside(command, "[FileOpen(", ")]");
  if (name.empty()) return {};
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
  return {ViewerCommand::Open, std::string(name)};
}

std::string EngineCommandFor(const ProfileSource& user_table, const std::string& format_name,
                             const std::string& menu_text) {
  for (const std::string& name : {format_name, menu_text}) {
    if (name.empty()) continue;
    if (std::string command = user_table.ReadString("Engines", name.c_str(), ""); !command.empty()) return command;
    if (std::string command = BuiltInCommand(name); !command.empty()) return command;
  }
  return {};
}

std::string ShellQuote(std::string_view word) {
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

namespace {
// The last line of a script that is waited for: its status, written whole.
std::string EndWithStatus(const std::string& marker) {
  return "echo $? > " + ShellQuote(marker + ".part") + " && mv " + ShellQuote(marker + ".part") + " " +
         ShellQuote(marker) + "\n";
}
}  // namespace

std::string EngineScript(const EngineRun& run) {
  const std::string beat = ShellQuote(run.heartbeat), stop = ShellQuote(run.stop);
  std::string script = "cd " + ShellQuote(run.directory) + " || { echo 126 > " + ShellQuote(run.marker) + "; exit; }\n";
  // Wine names a drive's files through a link named "c:": full names are resolved, as a
  // colon separates the folders.
  for (const auto& [name, folders] : run.environment) {
    script += "export " + name + "=";
    for (const std::string& folder : folders) {
      script += (folder.starts_with('/') ? "\"$(realpath -m -- " + ShellQuote(folder) + ")\"" : ShellQuote(folder)) + ":";
    }
    script += "\n";
  }
  return script + "setsid /bin/sh -c 'i=0; while [ $i -lt " + std::to_string(kEngineAnswers) +
         " ]; do echo; i=$((i+1)); done | eval \"$1\"' quillet-step " + ShellQuote(run.command) + " > " +
         ShellQuote(run.messages) + " 2>&1 &\n"
         "engine=$!\n"
         "while kill -0 $engine 2>/dev/null; do\n"
         "  beat=$(stat -c %Y " + beat + " 2>/dev/null || echo 0)\n"
         "  if [ -e " + stop + " ] || [ $(( $(date +%s) - beat )) -gt 5 ]; then kill -- -$engine || kill $engine; fi\n"
         "  sleep 0.2\n"
         "done &\n"
         "watcher=$!\n"
         "wait $engine\n" +
         EndWithStatus(run.marker) + "kill $watcher 2>/dev/null\n";
}

std::string ConvertScript(const std::string& converter, const std::string& dvi, const std::string& pdf,
                          const std::string& messages, const std::string& marker) {
  return converter + " -o " + ShellQuote(pdf) + " " + ShellQuote(dvi) + " > " + ShellQuote(messages) + " 2>&1\n" +
         EndWithStatus(marker);
}

// The viewer started before is told only while it runs and still shows this file: a
// finished one (perhaps not yet reaped) or a process number used again starts a new one.
std::string ShowScript(const std::string& viewer, const std::string& pdf, const std::string& pid_file) {
  std::string pids = ShellQuote(pid_file), file = ShellQuote(pdf);
  return "pid=$(cat " + pids + " 2>/dev/null)\n"
         "state=$(sed -n 's/.*) \\(.\\).*/\\1/p' /proc/$pid/stat 2>/dev/null)\n"
         "if [ -n \"$pid\" ] && [ -n \"$state\" ] && [ \"$state\" != Z ] && grep -qaF " + file +
         " /proc/$pid/cmdline; then kill -HUP \"$pid\"\n"
         "else " + viewer + " " + file + " >/dev/null 2>&1 & echo $! > " + pids + "\n"
         "fi\n";
}

std::string PrintScript(const std::string& printer, const std::string& pdf, const std::string& marker) {
  std::string program = printer.substr(0, printer.find(' '));
  return "if command -v " + ShellQuote(program) + " >/dev/null 2>&1; then " + printer + " " + ShellQuote(pdf) +
         " >/dev/null 2>&1; else (exit 127); fi\n" + EndWithStatus(marker);
}

std::string FailureLog(std::string_view message) {
  // The error window shows the second line above the first error.
  return "This is quillet-tex, the engine bridge of TeX Quillet.\r\nTeXを実行できませんでした。\r\n! " +
         std::string(message) + "\r\n? \r\n";
}

}  // namespace quillet
