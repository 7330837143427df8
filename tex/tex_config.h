#pragma once
// wintex.ini, the TeX engine's own configuration file that the program shares with it:
// the directory variables, the TeX menu (format entries), the chosen format index, the
// font mapping and the basic styles, read once at start-up and rewritten page by page
// by the TeX settings dialog. All access goes through the two interfaces below so the
// rules can be checked without the platform.
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A profile (INI) file as the program uses it. Sections and keys compare without regard
// to ASCII case, as the platform's profile functions do.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The value (at most 1023 bytes), or def when the key is missing.
  virtual std::string Read(const std::string& section, const std::string& key, const std::string& def) const = 0;
  // The section's keys in file order, as seen through an 8192-byte key buffer.
  virtual std::vector<std::string> Keys(const std::string& section) const = 0;
  // False when the platform refuses the write.
  virtual bool Write(const std::string& section, const std::string& key, const std::string& value) = 0;
  virtual bool EraseSection(const std::string& section) = 0;
  // The writes made between these two may be held back and made together (a file is
  // then rewritten once, not once per key); CommitChanges answers false when they could
  // not be made, and none of them then are.
  virtual void BeginChanges() {}
  virtual bool CommitChanges() { return true; }
};

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Names (as the file system spells them) of the entries of dir (ends in "\") that
  // match pattern ("*.tfm"), directories included; empty when dir does not exist.
  virtual std::vector<std::string> List(const std::string& dir, const std::string& pattern) const = 0;
};

struct TeXConfiguration {
  std::string TEXINPUTS, TEXFONTS, TEXFORMATS, TEXPOOL;
  std::vector<std::string> menu_strings, format_names;  // TeXMode keys and values, file order
  int stored_default = 0;  // [TeXModeDefault] TeXModeDefault as read (integer rules, default 0)
  std::vector<std::string> style_names, size_options, ptsize_options, style_options;
  std::vector<std::string> tfm_files, fmt_files, sty_files, tex_files;  // sorted, duplicates kept
};

// The file's name; a bare name puts it in the Windows directory, beside the engine's.
inline constexpr const char* kTeXConfigFile = "wintex.ini";
// Shown (and written, as an empty value) for a TFM font without a screen font.
inline constexpr const char* kNoSubstitute = "(代用なし)";
// The key list of a section is read through a buffer of this many bytes.
inline constexpr std::size_t kKeyListBufferSize = 8192;

TeXConfiguration LoadTeXConfiguration(const ProfileStore& store, const DirectoryLister& dirs);

enum class WriteOutcome { Ok, Refused, ReservedStyleName };

// Each writer's keys are made together (BeginChanges..CommitChanges); a writer stops at
// the first refused write and answers Refused. WriteEnviron keeps the new texts in memory whatever the outcome;
// WriteTeXMenu and WriteStyles replace the in-memory lists only when every write went
// through. After WriteTeXMenu the caller rebuilds the format items from the lists.
WriteOutcome WriteEnviron(ProfileStore& store, TeXConfiguration& config, const std::string& inputs,
                          const std::string& fonts, const std::string& formats, const std::string& pool);
WriteOutcome WriteTeXMenu(ProfileStore& store, TeXConfiguration& config, const std::vector<std::string>& menu_strings,
                          const std::vector<std::string>& format_names);
WriteOutcome WriteFontMapping(ProfileStore& store, const std::string& tfm_file, const std::string& font_name);
// The screen font mapped to a TFM file: kNoSubstitute when none.
std::string ReadFontMapping(const ProfileStore& store, const std::string& tfm_file);
// A style named like a section the file needs (Environ, TeXMode, TeXModeDefault, Font,
// Style; any ASCII case) is refused before anything is erased: ReservedStyleName.
WriteOutcome WriteStyles(ProfileStore& store, TeXConfiguration& config, const std::vector<std::string>& names,
                         const std::vector<std::string>& size_options,
                         const std::vector<std::string>& ptsize_options,
                         const std::vector<std::string>& style_options);
WriteOutcome SaveTeXModeDefault(ProfileStore& store, int current_tex_mode);

bool IsReservedStyleName(std::string_view name);
// The warning shown when a style is named like one of those sections.
std::string ReservedStyleNameMessage(std::string_view name);
// The error shown when a write of the file is refused: "wintex.ini に書き込めません".
std::string RefusedWriteMessage();

// A file name in lower case (ASCII letters only; double-byte characters stay as they are)
// without its last four bytes, the extension: "CMR10.TFM" gives "cmr10".
std::string BareLowerName(std::string_view file_name);

// The keys in what a key-list read filled in: names ending in NUL bytes, the last one
// possibly cut short when the buffer was too small.
std::vector<std::string> SplitKeyList(std::string_view filled);

}  // namespace quillet
