#pragma once
// The program's own settings file quillet.ini: read once at start-up into the windows
// (the environment dialog's controls hold the General, Editor, TeX and Dvi values for the
// whole run), and the Position, ComInput and Files sections written back at shutdown.

namespace quillet {

class Application;

void LoadProgramSettings(Application& app);
// Stops at the first refused write (the keys before it stay written) and shows the error;
// false then.
bool SaveShutdownSettings(Application& app);

}  // namespace quillet
