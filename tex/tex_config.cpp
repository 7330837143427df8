#include "tex/tex_config.h"

#include <algorithm>

#include "core/profile_text.h"
#include "core/profile_values.h"
#include "core/sjis.h"

namespace quillet {

namespace {

const std::string kEnviron = "Environ";
const std::string kTeXMode = "TeXMode";
const std::string kTeXModeDefault = "TeXModeDefault";
const std::string kFont = "Font";
const std::string kStyle = "Style";
const char* const kEnvironKeys[] = {"TEXINPUTS", "TEXFONTS", "TEXFORMATS", "TEXPOOL"};
const char* const kOptionKeys[] = {"sizeoption", "ptsizeoption", "styleoption"};

// The fields of a list from the first up to the first empty one: an empty element (two
// separators in a row) ends the list, as the engine reads it.
std::vector<std::string> ListFields(std::string_view text, char separator) {
  std::vector<std::string> fields;
  for (int n = 1;; ++n) {
    std::string field = GetField(text, separator, n);
    if (field.empty()) return fields;
    fields.push_back(std::move(field));
  }
}

// The last character (not merely the last byte: a trail byte may be 0x5C) is "\".
bool EndsInBackslash(std::string_view dir) {
  bool last = false;
  for (std::size_t i = 0; i < dir.size(); i += CharLength(dir, i)) last = dir[i] == '\\';
  return last;
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i)) {
    if (lower[i] >= 'A' && lower[i] <= 'Z') lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
  }
  return lower;
}

// File names in the order a reader expects: letter case aside first, then byte order so
// the result does not depend on the listing order.
bool NameBefore(const std::string& a, const std::string& b) {
  std::string la = LowerAscii(a), lb = LowerAscii(b);
  auto bytes = [](const std::string& s) {
    return std::basic_string_view<unsigned char>(reinterpret_cast<const unsigned char*>(s.data()), s.size());
  };
  return la != lb ? bytes(la) < bytes(lb) : bytes(a) < bytes(b);
}

std::vector<std::string> FilesIn(const DirectoryLister& dirs, std::string_view dir_list, const std::string& pattern) {
  std::vector<std::string> files;
  for (std::string dir : ListFields(dir_list, ';')) {
    if (!EndsInBackslash(dir)) dir += '\\';
    for (std::string& name : dirs.List(dir, pattern)) files.push_back(std::move(name));
  }
  std::sort(files.begin(), files.end(), NameBefore);
  return files;
}

const std::string& ValueAt(const std::vector<std::string>& values, std::size_t i) {
  static const std::string empty;
  return i < values.size() ? values[i] : empty;
}

std::string Join(const std::vector<std::string>& parts, char separator) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  return joined;
}

// Writes in order and stops at the first refusal, so what came before stays written.
// One writer's keys, made together.
class Writes {
 public:
  explicit Writes(ProfileStore& store) : store_(store) { store_.BeginChanges(); }
  ~Writes() { Finish(); }
  Writes(const Writes&) = delete;
  Writes& operator=(const Writes&) = delete;
  Writes& Put(const std::string& section, const std::string& key, const std::string& value) {
    ok_ = ok_ && store_.Write(section, key, value);
    return *this;
  }
  Writes& Erase(const std::string& section) {
    ok_ = ok_ && store_.EraseSection(section);
    return *this;
  }
  // Ends the writer's changes: true when every one was made.
  bool ok() {
    Finish();
    return ok_;
  }
  WriteOutcome outcome() { return ok() ? WriteOutcome::Ok : WriteOutcome::Refused; }

 private:
  void Finish() {
    if (finished_) return;
    finished_ = true;
    bool committed = store_.CommitChanges();
    ok_ = ok_ && committed;
  }
  ProfileStore& store_;
  bool ok_ = true;
  bool finished_ = false;
};

// The profile functions ignore blanks around a section name, so " Font " is Font.
std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

TeXConfiguration LoadTeXConfiguration(const ProfileStore& store, const DirectoryLister& dirs) {
  TeXConfiguration c;
  std::string* variables[] = {&c.TEXINPUTS, &c.TEXFONTS, &c.TEXFORMATS, &c.TEXPOOL};
  for (int i = 0; i < 4; ++i) *variables[i] = store.Read(kEnviron, kEnvironKeys[i], "");

  c.menu_strings = store.Keys(kTeXMode);
  for (const std::string& key : c.menu_strings) c.format_names.push_back(store.Read(kTeXMode, key, ""));
  c.stored_default = ParseProfileInt(store.Read(kTeXModeDefault, kTeXModeDefault, "0"), 0);

  c.style_names = ListFields(store.Read(kStyle, kStyle, ""), ',');
  std::vector<std::string>* options[] = {&c.size_options, &c.ptsize_options, &c.style_options};
  for (const std::string& name : c.style_names) {
    for (int k = 0; k < 3; ++k) options[k]->push_back(store.Read(name, kOptionKeys[k], ""));
  }

  c.tfm_files = FilesIn(dirs, c.TEXFONTS, "*.tfm");
  c.fmt_files = FilesIn(dirs, c.TEXFORMATS, "*.fmt");
  c.sty_files = FilesIn(dirs, c.TEXINPUTS, "*.sty");
  c.tex_files = FilesIn(dirs, c.TEXINPUTS, "*.tex");
  return c;
}

WriteOutcome WriteEnviron(ProfileStore& store, TeXConfiguration& config, const std::string& inputs,
                          const std::string& fonts, const std::string& formats, const std::string& pool) {
  config.TEXINPUTS = inputs;
  config.TEXFONTS = fonts;
  config.TEXFORMATS = formats;
  config.TEXPOOL = pool;
  const std::string* values[] = {&inputs, &fonts, &formats, &pool};
  Writes writes(store);
  for (int i = 0; i < 4; ++i) writes.Put(kEnviron, kEnvironKeys[i], *values[i]);
  return writes.outcome();
}

WriteOutcome WriteTeXMenu(ProfileStore& store, TeXConfiguration& config, const std::vector<std::string>& menu_strings,
                          const std::vector<std::string>& format_names) {
  Writes writes(store);
  writes.Erase(kTeXMode);
  for (std::size_t i = 0; i < menu_strings.size(); ++i) writes.Put(kTeXMode, menu_strings[i], ValueAt(format_names, i));
  if (!writes.ok()) return WriteOutcome::Refused;
  config.menu_strings = menu_strings;
  config.format_names = format_names;
  config.format_names.resize(menu_strings.size());
  return WriteOutcome::Ok;
}

WriteOutcome WriteFontMapping(ProfileStore& store, const std::string& tfm_file, const std::string& font_name) {
  const std::string value = font_name == kNoSubstitute ? "" : font_name;
  // A file name may hold what a key may not ("a=b.tfm", "[x].tfm"): such a mapping would
  // read back under another key or break the section, so it is not written.
  const std::string key = BareLowerName(tfm_file);
  if (!IsStorableKey(key)) return WriteOutcome::Refused;
  return Writes(store).Put(kFont, key, value).outcome();
}

std::string ReadFontMapping(const ProfileStore& store, const std::string& tfm_file) {
  std::string font = store.Read(kFont, BareLowerName(tfm_file), "");
  return font.empty() ? kNoSubstitute : font;
}

WriteOutcome WriteStyles(ProfileStore& store, TeXConfiguration& config, const std::vector<std::string>& names,
                         const std::vector<std::string>& size_options,
                         const std::vector<std::string>& ptsize_options,
                         const std::vector<std::string>& style_options) {
  if (std::any_of(names.begin(), names.end(), IsReservedStyleName)) return WriteOutcome::ReservedStyleName;
  Writes writes(store);
  // A name written by someone else may still be one of the file's own sections.
  for (const std::string& old : ListFields(store.Read(kStyle, kStyle, ""), ',')) {
    if (!IsReservedStyleName(old)) writes.Erase(old);
  }
  const std::vector<std::string>* options[] = {&size_options, &ptsize_options, &style_options};
  for (std::size_t i = 0; i < names.size(); ++i) {
    for (int k = 0; k < 3; ++k) writes.Put(names[i], kOptionKeys[k], ValueAt(*options[k], i));
  }
  writes.Put(kStyle, kStyle, Join(names, ','));
  if (!writes.ok()) return WriteOutcome::Refused;
  config.style_names = names;
  std::vector<std::string>* kept[] = {&config.size_options, &config.ptsize_options, &config.style_options};
  for (int k = 0; k < 3; ++k) {
    *kept[k] = *options[k];
    kept[k]->resize(names.size());
  }
  return WriteOutcome::Ok;
}

WriteOutcome SaveTeXModeDefault(ProfileStore& store, int current_tex_mode) {
  return Writes(store).Put(kTeXModeDefault, kTeXModeDefault, FormatProfileInt(current_tex_mode)).outcome();
}

bool IsReservedStyleName(std::string_view name) {
  std::string_view bare = TrimBlanks(name);
  for (const std::string* section : {&kEnviron, &kTeXMode, &kTeXModeDefault, &kFont, &kStyle}) {
    if (SameFileName(bare, *section)) return true;
  }
  return false;
}

std::string ReservedStyleNameMessage(std::string_view name) {
  std::string message = "\"";
  message.append(name).append("\" は ").append(kTeXConfigFile);
  return message.append(" の他のｾｸｼｮﾝと同じ名前なので、基本ｽﾀｲﾙ名には使えません。");
}

std::string RefusedWriteMessage() { return std::string(kTeXConfigFile) + " に書き込めません"; }

std::string BareLowerName(std::string_view file_name) {
  std::string lower = LowerAscii(file_name);
  lower.resize(lower.size() > 4 ? lower.size() - 4 : 0);
  return lower;
}

std::vector<std::string> SplitKeyList(std::string_view filled) {
  std::vector<std::string> keys;
  std::size_t begin = 0;
  while (begin < filled.size()) {
    std::size_t end = std::min(filled.find('\0', begin), filled.size());
    if (end > begin) keys.emplace_back(filled.substr(begin, end - begin));
    begin = end + 1;
  }
  return keys;
}

}  // namespace quillet
