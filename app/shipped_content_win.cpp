#include "app/shipped_content_win.h"

#include <windows.h>

#include <algorithm>

#include "aids/command_db.h"
#include "aids/command_palette_win.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "core/sjis.h"
#include "win/failure_cause_win.h"
#include "win/file_io_win.h"

namespace quillet {

namespace {

constexpr char kShippedMacroFolder[] = "macros";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The first kind takes the bridge when no kind has a program.
void TakeBridge(ProgramChoice& choice, const std::string& command) {
  if (std::any_of(choice.paths.begin(), choice.paths.end(), [](const std::string& p) { return !p.empty(); })) return;
  choice.paths[0] = command;
  choice.use = 0;
}

void UseShippedMacros(std::string& macro_path) {
  std::string shipped = ProgramFolder() + kShippedMacroFolder;
  if (macro_path.empty() && FolderExists(shipped)) macro_path = shipped;
}

std::string EngineBridge() { return ProgramFolder() + "quillet-tex.exe"; }

}  // namespace

void UseShippedPrograms(Application& app) {
  UseShippedMacros(app.env_settings().general.macro_path);
  const std::string engine = EngineBridge(), viewer = ProgramFolder() + "quillet-dvi.exe";
  if (!FileExists(engine)) return;
  const std::string& wintex = app.options().wintex_path;
  TakeBridge(app.env_settings().tex, Quoted(engine) + (wintex == kTeXConfigFile ? "" : " --wintex " + Quoted(wintex)));
  if (FileExists(viewer)) TakeBridge(app.env_settings().dvi, Quoted(viewer));
}

bool UsesShippedEngine(const Application& app) {
  std::string engine = Quoted(EngineBridge()), command = app.env_settings().tex.ChosenPath();
  return SameIgnoringAsciiCase(std::string_view(command).substr(0, engine.size()), engine);
}

// Only for the shipped engine: an outside engine's wintex.ini is its own, and may be
// shared or not writable.
void UseShippedFormats(Application& app) {
  TeXConfiguration& config = app.tex_config();
  if (!config.menu_strings.empty() || !UsesShippedEngine(app) || !FileExists(EngineBridge())) return;
  if (WriteTeXMenu(app.tex_settings_file(), config, {"pLaTeX", "upLaTeX", "LaTeX"}, {"platex", "uplatex", "latex"}) !=
          WriteOutcome::Ok ||
      SaveTeXModeDefault(app.tex_settings_file(), 0) != WriteOutcome::Ok) {
    app.messages().Error(nullptr, WithWriteCause(RefusedWriteMessage()));
    return;
  }
  config.stored_default = 0;
}

std::string CommandDbFile(const std::string& home_directory) {
  std::string home = home_directory + kCommandDbName;
  return FileExists(home) ? home : ProgramFolder() + kCommandDbName;
}

void LoadCommandList(Application& app) {
  std::string path = CommandDbFile(app.MainForm().HomeDirectory);
  ReadStatus status = app.Input().LoadCommands(path);
  if (status == ReadStatus::TooLarge) {
    app.messages().Warn(app.MainForm().hwnd(), "ｺﾏﾝﾄﾞﾌｧｲﾙ " + path + " は大きすぎるため読み込めません。");
  } else if (status == ReadStatus::CannotOpen) {
    app.messages().Warn(app.MainForm().hwnd(), "ｺﾏﾝﾄﾞﾌｧｲﾙ " + path + " を読み込めません。");
  }
}

}  // namespace quillet
