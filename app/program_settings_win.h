#pragma once
// The program's own settings file quillet.ini: read once at start-up into the windows and
// the environment settings (the General, Editor, TeX and Dvi values, kept by the
// application for the whole run), and the Position, ComInput and Files sections written
// back at shutdown.

namespace quillet {

class Application;

void LoadProgramSettings(Application& app);
// Stops at the first refused write (the keys before it stay written) and shows the error;
// false then.
bool SaveShutdownSettings(Application& app);
// Stores the choice not to use the new-document wizard any more, as soon as it is made,
// so that it holds from the next start on; false (with the error shown) when refused.
bool SaveWizardRefusal(Application& app);

}  // namespace quillet
