#include "bridges/class_list.h"

#include "bridges/bridge_commands.h"
#include "core/byte_scan.h"

namespace quillet {

std::string FindFilesCommand(const std::vector<std::string>& files) {
  std::string command = "kpsewhich";
  for (const std::string& file : files) command.append(" ").append(file);
  return command;
}

std::string FindFilesScript(const std::vector<std::string>& files, const std::string& found,
                            const std::string& marker) {
  std::string part = ShellQuote(marker + ".part");
  return FindFilesCommand(files) + " > " + ShellQuote(found) + "\necho $? > " + part + " && mv " + part + " " +
         ShellQuote(marker) + "\n";
}

std::vector<std::string> FoundFiles(std::string_view kpsewhich_output) {
  std::vector<std::string> names;
  for (std::string_view line : SplitTextLines(kpsewhich_output)) {
    std::size_t slash = line.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? line : line.substr(slash + 1);
    if (!name.empty()) names.emplace_back(name);
  }
  return names;
}

}  // namespace quillet
