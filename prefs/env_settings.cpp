#include "prefs/env_settings.h"

#include "core/profile_values.h"

namespace quillet {

namespace {

// "Use" picks an entry of the list; then each entry's path is read under its own text.
template <std::size_t N>
ProgramChoice ReadChoice(const ProfileSource& ini, const char* section, const char* const (&kinds)[N]) {
  ProgramChoice choice;
  int use = ini.ReadInt(section, "Use", 0);
  choice.use = use >= 0 && use < static_cast<int>(N) ? use : -1;
  for (const char* kind : kinds) choice.paths.push_back(ini.ReadString(section, kind, ""));
  return choice;
}

}  // namespace

int ClampAutoSaveMinutes(int minutes) { return Clamp(minutes, kMinAutoSaveMinutes, kMaxAutoSaveMinutes); }

int EditorSettings::FontSize() const { return ParseFontSize(font_size); }

std::string ProgramChoice::ChosenPath() const {
  return use >= 0 && use < static_cast<int>(paths.size()) ? paths[static_cast<std::size_t>(use)] : "";
}

EnvSettings ReadEnvSettings(const ProfileSource& ini) {
  const EnvSettings d;
  EnvSettings s;
  GeneralSettings& g = s.general;
  g.backup = ini.ReadBool("General", "BackUp", d.general.backup);
  g.auto_save = ini.ReadBool("General", "AutoSave", d.general.auto_save);
  g.auto_save_minutes = ClampAutoSaveMinutes(ini.ReadInt("General", "AutoSaveTime", d.general.auto_save_minutes));
  g.editor_path = ini.ReadString("General", "EditorPath", d.general.editor_path);
  g.win31_dialog = ini.ReadBool("General", "Win31Dialog", d.general.win31_dialog);
  g.use_doc_exp = ini.ReadBool("General", "UseDocExp", d.general.use_doc_exp);
  g.macro_path = ini.ReadString("General", "MacroPath", d.general.macro_path);
  s.editor.font_name = ini.ReadString("Editor", "Font", d.editor.font_name);
  s.editor.font_size = ini.ReadString("Editor", "FontSize", d.editor.font_size);
  s.tex = ReadChoice(ini, "TeX", kTeXKinds);
  s.dvi = ReadChoice(ini, "Dvi", kDviKinds);
  return s;
}

}  // namespace quillet
