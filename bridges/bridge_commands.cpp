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

namespace {
// "\"SOURCE\",LINE,PAGE": the name has no double quote, the numbers are counted from 1.
ViewerCommand ParsePlace(std::string_view args) {
  std::size_t close = args.rfind('"');
  if (args.size() < 2 || args.front() != '"' || close == 0 || close == std::string_view::npos) return {};
  ViewerCommand place{ViewerCommand::Place, std::string(args.substr(1, close - 1))};
  std::string_view numbers = args.substr(close + 1);
  const char* end = numbers.data() + numbers.size();
  if (numbers.empty() || numbers[0] != ',') return {};
  auto [after_line, e1] = std::from_chars(numbers.data() + 1, end, place.line);
  if (e1 != std::errc() || after_line == end || *after_line != ',') return {};
  auto [after_page, e2] = std::from_chars(after_line + 1, end, place.page);
  if (e2 != std::errc() || after_page != end || place.line < 1 || place.page < 1 || place.file.empty()) return {};
  return place;
}
}  // namespace

ViewerCommand ParseViewerCommand(std::string_view command) {
  if (command == "[WinNormal]") return {ViewerCommand::Show, ""};
  if (command == "[FilePrint]") return {ViewerCommand::Print, ""};
  if (std::string_view args = Inside(command, "[ForwardSearch(", ")]"); !args.empty()) return ParsePlace(args);
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
// Sets pid from pid_file and opens an "if" on that test.
namespace {
// The state letter of process $pid (Z: ended, not yet reaped); nothing once it is gone.
constexpr const char* kProcessState = "sed -n 's/.*) \\(.\\).*/\\1/p' /proc/$pid/stat 2>/dev/null";

std::string ViewerShowing(const std::string& pid_file, const std::string& file) {
  return "pid=$(cat " + pid_file + " 2>/dev/null)\n"
         "state=$(" + kProcessState + ")\n"
         "if [ -n \"$pid\" ] && [ -n \"$state\" ] && [ \"$state\" != Z ] && grep -qaF " + file + " /proc/$pid/cmdline;";
}
}  // namespace

std::string ShowScript(const std::string& viewer, const std::string& pdf, const std::string& pid_file, int page) {
  std::string pids = ShellQuote(pid_file), file = ShellQuote(pdf);
  std::string at_page = page > 0 ? PageArguments(viewer, file, page) : std::string();
  std::string start = viewer + " " + (at_page.empty() ? file : at_page) + " >/dev/null 2>&1 & echo $! > " + pids + "\n";
  return ViewerShowing(pids, file) + " then " + (at_page.empty() ? "kill -HUP \"$pid\"\n" : "kill \"$pid\"; " + start) +
         "else " + start + "fi\n";
}

std::string PageArguments(const std::string& viewer, const std::string& pdf_word, int page) {
  std::string program = viewer.substr(0, viewer.find(' '));
  program = program.substr(program.rfind('/') + 1);
  const std::string n = std::to_string(page);
  if (program == "mupdf") return pdf_word + " " + n;
  if (program == "zathura") return "-P " + n + " " + pdf_word;
  if (program == "evince") return "-i " + n + " " + pdf_word;
  if (program == "okular") return "-p " + n + " " + pdf_word;
  return {};
}

// zathura 0.5's HighlightRects brings it down on its second call: the mark comes from its
// own SynctexView instead, which reads the copy of the data made for such viewers, where
// names are as the engine saw them (Wine's drive links resolved). gdbus takes a name that
// is no GVariant text (a full Unix name never is) as the string itself.
std::string ZathuraScript(const ZathuraShow& show) {
  const std::string pids = ShellQuote(show.pid_file), bus = ShellQuote(show.bus_file), file = ShellQuote(show.pdf);
  std::string script =
      ViewerShowing(pids, file) + " then\n" +
      "  [ -n \"$DBUS_SESSION_BUS_ADDRESS\" ] || DBUS_SESSION_BUS_ADDRESS=$(cat " + bus + " 2>/dev/null)\n"
      "else\n"
      "  [ -n \"$DBUS_SESSION_BUS_ADDRESS\" ] || set -- $(dbus-daemon --session --fork --print-address=1 --print-pid=1)\n"
      "  [ -n \"$DBUS_SESSION_BUS_ADDRESS\" ] || DBUS_SESSION_BUS_ADDRESS=$1\n"
      "  echo \"$DBUS_SESSION_BUS_ADDRESS\" > " + bus + "\n"
      "  export DBUS_SESSION_BUS_ADDRESS\n"
      "  " + show.viewer + " -x " + ShellQuote(show.editor) + " " +
      (show.page > 0 ? PageArguments("zathura", file, show.page) : file) + " >/dev/null 2>&1 &\n"
      "  pid=$!\n"
      "  echo $pid > " + pids + "\n"
      "  [ -z \"$2\" ] || { while " + kProcessState + " | grep -qv Z; do sleep 1; done; kill $2; } &\n"
      "fi\n";
  if (show.page < 1) return script;
  const std::string call = "gdbus call --session --dest org.pwmt.zathura.PID-$pid --object-path /org/pwmt/zathura --method ";
  return script + "export DBUS_SESSION_BUS_ADDRESS\n"
         "i=0\n"
         "until " + call + "org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1; do\n"
         "  i=$((i+1)); [ $i -gt 100 ] && exit 1; sleep 0.05\n"
         "done\n" +
         call + "org.pwmt.zathura.GotoPage " + std::to_string(show.page - 1) + "\n" +
         call + "org.pwmt.zathura.SynctexView \"$(realpath -m -- " + ShellQuote(show.source) + ")\" " +
         std::to_string(show.line) + " 0\n";
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
