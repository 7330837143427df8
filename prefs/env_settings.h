#pragma once
// The program's own settings that the environment dialog edits: the values of its four
// pages, the engines and viewers it knows with the program path of each, and the rules
// their values keep. The rest of the program reads them here; the dialog shows a copy
// and gives back what the user confirmed.
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile_source.h"
#include "core/text_encoding.h"

namespace quillet {

// The engines and viewers, in the order of the dialog's lists. Each text is also the key
// of that program's path in the settings file, byte for byte.
inline constexpr const char* kTeXKinds[] = {"ｲﾝﾌﾟﾚｽ  WpvTeX", "ｲﾝﾌﾟﾚｽ  Big WpvTeX"};
inline constexpr const char* kDviKinds[] = {
    "ｲﾝﾌﾟﾚｽ  WinDvi 1.0 (16bit版)", "ｲﾝﾌﾟﾚｽ  WinDvi 1.0 (32bit版)", "ｲﾝﾌﾟﾚｽ  WinDviPro",
    "Norvik  WinDVI (ver 0.2)",     "Norvik  WinDVI (ver 0.3以降)"};

// The autosave interval's limits, in minutes.
inline constexpr int kMinAutoSaveMinutes = 1, kMaxAutoSaveMinutes = 1440;
int ClampAutoSaveMinutes(int minutes);

// Page "動作一般", section General.
struct GeneralSettings {
  bool backup = true;
  bool auto_save = true;
  int auto_save_minutes = 5;    // within the limits above
  bool show_log_file = false;   // not stored: every run starts without it
  std::string editor_path = "NotePad";
  bool win31_dialog = false;
  bool use_doc_exp = true;
  std::string macro_path;
  bool operator==(const GeneralSettings&) const = default;
};

// What the editor marks on screen (never in print or copies).
struct EditorMarks {
  bool full_width_space = true;
  bool tab = false;
  bool line_end = false;
  bool operator==(const EditorMarks&) const = default;
};

// Page "ｴﾃﾞｨﾀ表示", section Editor.
struct EditorSettings {
  std::string font_name = "ＭＳ ゴシック";
  std::string font_size = "10";  // as the user typed it
  // What a new document is written in until it is saved in another coding.
  FileCoding new_coding;
  EditorMarks marks = {};
  // The number in the size text, 10 when there is none.
  int FontSize() const;
  bool operator==(const EditorSettings&) const = default;
};

// Pages "TeXの選択" and "Dviの選択", sections TeX and Dvi: the kind in use and the
// program path of every kind.
struct ProgramChoice {
  int use = 0;                     // index of the kind; -1 when none is chosen
  std::vector<std::string> paths;  // one per kind, in list order
  // The program path of the kind in use; empty when none is chosen.
  std::string ChosenPath() const;
  bool operator==(const ProgramChoice&) const = default;
};

struct EnvSettings {
  GeneralSettings general;
  EditorSettings editor;
  ProgramChoice tex{0, std::vector<std::string>(std::size(kTeXKinds))};
  ProgramChoice dvi{0, std::vector<std::string>(std::size(kDviKinds))};
  bool operator==(const EnvSettings&) const = default;

  // The online manual lies below the program folder of the first three viewers.
  bool ManualAvailable() const { return dvi.use >= 0 && dvi.use < 3; }
};

// The dialog's pages, in the order OK writes them: 動作一般, ｴﾃﾞｨﾀ表示, TeXの選択, Dviの選択.
inline constexpr int kEnvPageCount = 4;

// One key of the settings file with the text written for it.
struct ProfileEntry {
  std::string section, key, value;
  bool operator==(const ProfileEntry&) const = default;
};
// The keys one page writes, in the order it writes them. The log display is not stored,
// the size is written as the number in its text, the new documents' coding as its two
// names in the status bar ("UTF-8 BOM", "LF") and the marks as 0 or 1.
std::vector<ProfileEntry> PageEntries(const EnvSettings& settings, int page);
// The page's values of edited put in place of those of in_force.
void TakePage(EnvSettings& in_force, const EnvSettings& edited, int page);
// Whether the editor font list offers a screen font: Japanese names (with a double-byte
// character), without the vertical writing faces ("@...") and names starting with "#",
// "$", "%" or "&".
bool IsListedFontName(std::string_view name);
// The size the preview shows: the number in the text when it lies in 7..30, else 10.
int PreviewFontSize(std::string_view text);
// The interval typed into the dialog: text that is not a number reads as the lower limit.
int TypedAutoSaveMinutes(std::string_view text);

// The General, Editor, TeX and Dvi sections, read in that order: a missing key gives the
// default, an interval outside the limits the nearer limit, a kind outside the list none,
// an encoding or line end that names none the default.
EnvSettings ReadEnvSettings(const ProfileSource& ini);

}  // namespace quillet
