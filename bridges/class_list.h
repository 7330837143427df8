#pragma once
// How the engine bridge finds which of the wizard's classes the installed TeX has: it asks
// kpsewhich for every file they need, and lists the ones found.
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// "kpsewhich a.cls b.sty ...": the command that prints the path of each file it finds.
std::string FindFilesCommand(const std::vector<std::string>& files);

// A script for /bin/sh that runs that command with its answer in found (all names as the
// Linux side writes them), then writes its exit status to marker.
std::string FindFilesScript(const std::vector<std::string>& files, const std::string& found,
                            const std::string& marker);

// The file names (without their folders) of the paths kpsewhich printed.
std::vector<std::string> FoundFiles(std::string_view kpsewhich_output);

// Whether kpsewhich ran, by its exit status: the number of the asked files it did not
// find. The shell says 126 or 127 when it cannot run it.
inline bool KpsewhichAnswered(int status, std::size_t asked) {
  return status >= 0 && static_cast<std::size_t>(status) <= asked;
}

}  // namespace quillet
