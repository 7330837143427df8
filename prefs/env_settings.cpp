#include "prefs/env_settings.h"

#include <algorithm>

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

template <std::size_t N>
void AddChoice(std::vector<ProfileEntry>& out, const char* section, const ProgramChoice& choice,
               const char* const (&kinds)[N]) {
  out.push_back({section, "Use", FormatProfileInt(choice.use)});
  for (std::size_t i = 0; i < N; ++i) out.push_back({section, kinds[i], i < choice.paths.size() ? choice.paths[i] : ""});
}

// Each key is read on its own, so a line end that names nothing keeps the encoding.
FileCoding ReadNewCoding(const ProfileSource& ini, const FileCoding& d) {
  FileCoding coding = d, parsed;
  const std::string default_line_end = LineEndName(d.line_end);
  if (ParseCoding(ini.ReadString("Editor", "Encoding", ""), default_line_end, parsed)) {
    coding.encoding = parsed.encoding;
    coding.bom = parsed.bom;
  }
  if (ParseCoding(EncodingName(d.encoding, d.bom), ini.ReadString("Editor", "LineEnd", ""), parsed)) {
    coding.line_end = parsed.line_end;
  }
  return coding;
}

}  // namespace

std::vector<ProfileEntry> PageEntries(const EnvSettings& s, int page) {
  std::vector<ProfileEntry> out;
  const GeneralSettings& g = s.general;
  switch (page) {
    case 0:
      out = {{"General", "BackUp", FormatProfileBool(g.backup)},
             {"General", "AutoSave", FormatProfileBool(g.auto_save)},
             {"General", "AutoSaveTime", FormatProfileInt(g.auto_save_minutes)},
             {"General", "EditorPath", g.editor_path},
             {"General", "Win31Dialog", FormatProfileBool(g.win31_dialog)},
             {"General", "UseDocExp", FormatProfileBool(g.use_doc_exp)},
             {"General", "MacroPath", g.macro_path}};
      break;
    case 1:
      out = {{"Editor", "Font", s.editor.font_name},
             {"Editor", "FontSize", FormatProfileInt(s.editor.FontSize())},
             {"Editor", "Encoding", EncodingName(s.editor.new_coding.encoding, s.editor.new_coding.bom)},
             {"Editor", "LineEnd", LineEndName(s.editor.new_coding.line_end)},
             {"Editor", "MarkFullWidthSpace", FormatProfileBool(s.editor.marks.full_width_space)},
             {"Editor", "MarkTab", FormatProfileBool(s.editor.marks.tab)},
             {"Editor", "MarkLineEnd", FormatProfileBool(s.editor.marks.line_end)}};
      break;
    case 2: AddChoice(out, "TeX", s.tex, kTeXKinds); break;
    case 3: AddChoice(out, "Dvi", s.dvi, kDviKinds); break;
    default: break;
  }
  return out;
}

void TakePage(EnvSettings& in_force, const EnvSettings& edited, int page) {
  switch (page) {
    case 0: in_force.general = edited.general; break;
    case 1:
      in_force.editor.font_name = edited.editor.font_name;
      in_force.editor.font_size = FormatProfileInt(edited.editor.FontSize());
      in_force.editor.new_coding = edited.editor.new_coding;
      in_force.editor.marks = edited.editor.marks;
      break;
    case 2: in_force.tex = edited.tex; break;
    case 3: in_force.dvi = edited.dvi; break;
    default: break;
  }
}

bool IsListedFontName(std::string_view name) {
  if (name.empty()) return false;
  unsigned char first = static_cast<unsigned char>(name[0]);
  if (first == 0x40 || (first >= 0x23 && first <= 0x26)) return false;
  return std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

int PreviewFontSize(std::string_view text) {
  int size = ParseFontSize(text);
  return size >= 7 && size <= 30 ? size : 10;
}

int TypedAutoSaveMinutes(std::string_view text) {
  return ClampAutoSaveMinutes(ParseProfileInt(text, kMinAutoSaveMinutes));
}

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
  s.editor.new_coding = ReadNewCoding(ini, d.editor.new_coding);
  s.editor.marks = {ini.ReadBool("Editor", "MarkFullWidthSpace", d.editor.marks.full_width_space),
                    ini.ReadBool("Editor", "MarkTab", d.editor.marks.tab),
                    ini.ReadBool("Editor", "MarkLineEnd", d.editor.marks.line_end)};
  s.tex = ReadChoice(ini, "TeX", kTeXKinds);
  s.dvi = ReadChoice(ini, "Dvi", kDviKinds);
  return s;
}

}  // namespace quillet
