#include "app/shipped_bridges_win.h"

#include <windows.h>

#include <algorithm>

#include "app/application_win.h"
#include "core/sjis.h"
#include "win/file_io_win.h"

namespace quillet {

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The first kind takes the bridge when no kind has a program.
void TakeBridge(ProgramChoice& choice, const std::string& command) {
  if (std::any_of(choice.paths.begin(), choice.paths.end(), [](const std::string& p) { return !p.empty(); })) return;
  choice.paths[0] = command;
  choice.use = 0;
}

}  // namespace

void UseShippedBridges(Application& app) {
  const std::string folder = ProgramFolder(), engine = folder + "quillet-tex.exe", viewer = folder + "quillet-dvi.exe";
  if (!FileExists(engine)) return;
  const std::string& wintex = app.options().wintex_path;
  TakeBridge(app.env_settings().tex, Quoted(engine) + (wintex == kTeXConfigFile ? "" : " --wintex " + Quoted(wintex)));
  if (FileExists(viewer)) TakeBridge(app.env_settings().dvi, Quoted(viewer));
  TeXConfiguration& config = app.tex_config();
  if (!config.menu_strings.empty()) return;
  if (WriteTeXMenu(app.tex_settings_file(), config, {"pLaTeX", "upLaTeX", "LaTeX"}, {"platex", "uplatex", "latex"}) !=
          WriteOutcome::Ok ||
      SaveTeXModeDefault(app.tex_settings_file(), 0) != WriteOutcome::Ok) {
    app.messages().Error(nullptr, RefusedWriteMessage());
    return;
  }
  config.stored_default = 0;
}

}  // namespace quillet
