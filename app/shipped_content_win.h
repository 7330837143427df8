#pragma once
// The first run that works, from what is shipped beside the program: the engine and
// viewer bridges are taken when no engine or viewer is set, a wintex.ini without formats
// gets the pLaTeX, upLaTeX and LaTeX entries (pLaTeX chosen), and an empty macro folder
// setting names the shipped macro library. Nothing the user set is changed.
#include <string>

namespace quillet {

class Application;

// Before wintex.ini is read: the macro library and the bridges, where nothing is set.
void UseShippedPrograms(Application& app);
// After it is read: the formats, when it has none and the bridges are shipped.
void UseShippedFormats(Application& app);
// Whether the engine in force is the shipped engine bridge.
bool UsesShippedEngine(const Application& app);

// command.db in the start-up folder, or else the one shipped beside the program (the
// program is often started from elsewhere, say by opening a document).
std::string CommandDbFile(const std::string& home_directory);
// Fills the command palette from that file; one that cannot be read, or is too large,
// is told about and leaves the list as it was (a missing one is no news).
void LoadCommandList(Application& app);

}  // namespace quillet
