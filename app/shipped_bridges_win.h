#pragma once
// The first run that works: the engine and viewer bridges shipped beside the program are
// taken when no engine or viewer is set, and a wintex.ini without formats gets the
// pLaTeX, upLaTeX and LaTeX entries, pLaTeX chosen. Nothing the user set is changed.

namespace quillet {

class Application;

void UseShippedBridges(Application& app);

}  // namespace quillet
