// wintex.ini read and written on any bytes, through a store that keeps the file's text
// and reads it as the platform does. The input, NUL-separated: the file's text; control
// bytes (which write is refused, how entries are committed); TeX menu entries
// ("name<TAB>format file" lines), basic styles ("name<TAB>size<TAB>ptsize<TAB>style"),
// the four directory texts, a font mapping ("tfm<TAB>font") and the names a directory
// lists. Entries pass the TeX settings dialog's rules, then every writer either reads
// back as written (values without the blanks around them) or is refused and leaves the
// file and the lists as they were.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile_text.h"
#include "core/profile_values.h"
#include "core/sjis.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/profile_model.h"
#include "tex/tex_config.h"
#include "tex/tex_settings_edits.h"

namespace {

using fuzz_checks::Require;

using namespace quillet;
namespace model = profile_model;
using Strings = std::vector<std::string>;

Strings Split(std::string_view text, char separator) {
  Strings parts;
  for (std::size_t begin = 0;;) {
    std::size_t end = text.find(separator, begin);
    parts.emplace_back(text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
    if (end == std::string_view::npos) return parts;
    begin = end + 1;
  }
}

// What a one-line edit field can hold: no line break, none of the other blanks the
// platform drops around names (vertical tab, form feed, ^Z), and whole characters only
// (a lead byte goes when no trail byte, 0x40-0x7E or 0x80-0xFC, follows it).
std::string Typed(std::string_view text) {
  std::string typed;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (IsLeadByte(c)) {
      auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
      if (next >= 0x40 && next != 0x7F && next <= 0xFC) typed.append(text.substr(i++, 2));
    } else {
      typed += c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A' ? '_' : c;
    }
  }
  return typed;
}

// A value as a read gives it back once written.
std::string AsRead(std::string_view written) { return CutProfileString(model::WrittenValueAsRead(written)); }

class TextStore : public ProfileStore {
 public:
  explicit TextStore(std::string text) : text_(std::move(text)) {}

  std::string Read(const std::string& section, const std::string& key, const std::string& def) const override {
    std::optional<std::string> value = model::Read(Sections(), section, key);
    return value ? CutProfileString(*value) : def;
  }
  std::vector<std::string> Keys(const std::string& section) const override {
    std::string filled;
    if (const model::Section* s = model::FindSection(Sections(), section)) {
      for (const std::string& key : model::KeyNames(*s)) filled += key + '\0';
    }
    // A list that does not fit loses its end; the last key is cut two bytes short.
    if (filled.size() + 1 > kKeyListBufferSize) filled.resize(kKeyListBufferSize - 2);
    return SplitKeyList(filled);
  }
  // As the program's store: changes held between BeginChanges and CommitChanges are made
  // all or none, and a refused one is found when they are made.
  bool Write(const std::string& section, const std::string& key, const std::string& value) override {
    if (Refused()) return Held();
    text_.Set(section, key, value);
    parsed_.reset();
    return true;
  }
  bool EraseSection(const std::string& section) override {
    if (Refused()) return Held();
    text_.EraseSection(section);
    parsed_.reset();
    return true;
  }
  void BeginChanges() override { before_changes_.emplace(text_); }
  bool CommitChanges() override {
    bool made = !changes_refused_;
    if (!made && before_changes_) text_ = std::move(*before_changes_);
    before_changes_.reset();
    changes_refused_ = false;
    parsed_.reset();
    return made;
  }

  const std::string& text() const { return text_.text(); }
  std::optional<int> refuse_at;  // the change refused, counted from 0

 private:
  bool Refused() { return refuse_at && attempts_++ == *refuse_at; }
  bool Held() {
    changes_refused_ = true;
    return before_changes_.has_value();
  }
  const std::vector<model::Section>& Sections() const {
    if (!parsed_) parsed_ = model::Parse(text_.text());
    return *parsed_;
  }
  ProfileText text_;
  std::optional<ProfileText> before_changes_;
  bool changes_refused_ = false;
  mutable std::optional<std::vector<model::Section>> parsed_;
  int attempts_ = 0;
};

class ListedNames : public DirectoryLister {
 public:
  explicit ListedNames(Strings names) : names_(std::move(names)) {}
  std::vector<std::string> List(const std::string&, const std::string& pattern) const override {
    Strings found;
    std::string_view ext = std::string_view(pattern).substr(1);
    for (const std::string& name : names_) {
      if (name.size() >= ext.size() && SameFileName(std::string_view(name).substr(name.size() - ext.size()), ext)) {
        found.push_back(name);
      }
    }
    return found;
  }

 private:
  Strings names_;
};

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (std::size_t i = 0; i < lower.size(); i += CharLength(lower, i)) {
    if (lower[i] >= 'A' && lower[i] <= 'Z') lower[i] = static_cast<char>(lower[i] + ('a' - 'A'));
  }
  return lower;
}

std::basic_string_view<unsigned char> Bytes(const std::string& s) {
  return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

// File lists come sorted without regard to ASCII case, then by bytes.
void CheckSorted(const Strings& files, std::string_view ext) {
  for (std::size_t i = 0; i < files.size(); ++i) {
    Require(files[i].size() >= ext.size() && SameFileName(std::string_view(files[i]).substr(files[i].size() - ext.size()), ext));
    if (i == 0) continue;
    std::string a = LowerAscii(files[i - 1]), b = LowerAscii(files[i]);
    Require(Bytes(a) < Bytes(b) || (a == b && Bytes(files[i - 1]) <= Bytes(files[i])));
  }
}

TeXConfiguration Load(const TextStore& store, const ListedNames& dirs) {
  TeXConfiguration c = LoadTeXConfiguration(store, dirs);
  Require(c.format_names.size() == c.menu_strings.size());
  Require(c.size_options.size() == c.style_names.size() && c.ptsize_options.size() == c.style_names.size() &&
          c.style_options.size() == c.style_names.size());
  CheckSorted(c.tfm_files, ".tfm");
  CheckSorted(c.fmt_files, ".fmt");
  CheckSorted(c.sty_files, ".sty");
  CheckSorted(c.tex_files, ".tex");
  return c;
}

Strings AllAsRead(const Strings& values) {
  Strings read;
  for (const std::string& v : values) read.push_back(AsRead(v));
  return read;
}

// Entries committed as the dialog's panel commits them: added, or with change, each one
// replacing the entry at i % (size + 1) - 1 (none selected: added).
WorkingList MenuEntries(const TeXConfiguration& loaded, const Strings& lines, bool change) {
  WorkingList entries(2);
  int i = 0;
  auto commit = [&](std::string_view name, std::string_view format_file) {
    int selected = entries.size() ? i % static_cast<int>(entries.size() + 1) - 1 : -1;
    CommitMenuEntry(entries, selected, change ? PanelMode::Change : PanelMode::Add, name, format_file);
    ++i;
  };
  // The loaded entries as the dialog's rules take them, then the new ones.
  for (std::size_t k = 0; k < loaded.menu_strings.size(); ++k) {
    commit(loaded.menu_strings[k], FormatFileText(loaded.format_names[k]));
  }
  for (const std::string& line : lines) {
    Strings f = Split(Typed(line), '\t');
    commit(f[0], f.size() > 1 ? f[1] : "");
  }
  return entries;
}

WorkingList Styles(const TeXConfiguration& loaded, const Strings& lines, bool change) {
  WorkingList styles(4);
  int i = 0;
  auto commit = [&](const Strings& f) {
    int selected = styles.size() ? i % static_cast<int>(styles.size() + 1) - 1 : -1;
    auto at = [&](std::size_t k) -> std::string_view { return k < f.size() ? f[k] : std::string_view(); };
    CommitStyle(styles, selected, change ? PanelMode::Change : PanelMode::Add, at(0), at(1), at(2), at(3));
    ++i;
  };
  for (std::size_t k = 0; k < loaded.style_names.size(); ++k) {
    commit({loaded.style_names[k], loaded.size_options[k], loaded.ptsize_options[k], loaded.style_options[k]});
  }
  for (const std::string& line : lines) {
    if (!line.empty()) commit(Split(Typed(line), '\t'));
  }
  return styles;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  Strings parts = Split(input, '\0');
  parts.resize(std::max<std::size_t>(parts.size(), 7));
  const std::string& control = parts[1];
  auto control_byte = [&](std::size_t i) { return i < control.size() ? static_cast<unsigned char>(control[i]) : 0xFF; };

  TextStore store(parts[0]);
  ListedNames dirs(Split(parts[6], '\n'));
  TeXConfiguration config = Load(store, dirs);
  Require(config.stored_default == ParseProfileInt(store.Read("TeXModeDefault", "TeXModeDefault", "0"), 0));
  if (control_byte(0) < 64) store.refuse_at = control_byte(0);
  bool change = control_byte(1) & 1;

  // A writer that is refused or stops leaves the file as it was.
  std::string text_before = store.text();
  auto unchanged_unless_ok = [&](WriteOutcome outcome) {
    if (outcome != WriteOutcome::Ok) Require(store.text() == text_before);
    text_before = store.text();
  };

  // The four directory texts keep their new texts in memory whatever the outcome.
  Strings environ = Split(parts[4], '\n');
  for (std::string& text : environ) text = Typed(text);
  environ.resize(4);
  WriteOutcome outcome = WriteEnviron(store, config, environ[0], environ[1], environ[2], environ[3]);
  Require(config.TEXINPUTS == environ[0] && config.TEXPOOL == environ[3]);
  unchanged_unless_ok(outcome);
  if (outcome == WriteOutcome::Ok) {
    TeXConfiguration read = Load(store, dirs);
    Require((Strings{read.TEXINPUTS, read.TEXFONTS, read.TEXFORMATS, read.TEXPOOL}) == AllAsRead(environ));
  }

  WorkingList menu = MenuEntries(config, Split(parts[2], '\n'), change);
  TeXConfiguration before = config;
  outcome = WriteTeXMenu(store, config, menu.Column(0), menu.Column(1));
  unchanged_unless_ok(outcome);
  if (outcome == WriteOutcome::Ok) {
    TeXConfiguration read = Load(store, dirs);
    Require(read.menu_strings == menu.Column(0) && read.format_names == AllAsRead(menu.Column(1)));
  } else {
    Require(config.menu_strings == before.menu_strings && config.format_names == before.format_names);
  }

  Strings mapping = Split(Typed(parts[5]), '\t');
  mapping.resize(2);
  outcome = WriteFontMapping(store, mapping[0], mapping[1]);
  unchanged_unless_ok(outcome);
  if (outcome == WriteOutcome::Ok) {
    std::string font = AsRead(mapping[1] == kNoSubstitute ? "" : mapping[1]);
    Require(ReadFontMapping(store, mapping[0]) == (font.empty() ? kNoSubstitute : font));
  }

  WorkingList styles = Styles(config, Split(parts[3], '\n'), change);
  before = config;
  if (control_byte(2) < 16) {
    // A list handed over without the dialog's rules: a reserved name changes nothing.
    Strings reserved = styles.Column(0);
    reserved.push_back(control_byte(2) & 1 ? " font " : "TeXMode");
    outcome = WriteStyles(store, config, reserved, styles.Column(1), styles.Column(2), styles.Column(3));
    Require(outcome == WriteOutcome::ReservedStyleName);
  } else {
    outcome = WriteStyles(store, config, styles.Column(0), styles.Column(1), styles.Column(2), styles.Column(3));
  }
  unchanged_unless_ok(outcome);
  // A name that ends in a lead byte cut off (never typed; only a foreign file's list has
  // one) would take the header's "]" as its trail byte: the dialog's rules let it through.
  Strings names = styles.Column(0);
  bool headers_hold = std::all_of(names.begin(), names.end(), model::HoldableSection);
  if (outcome == WriteOutcome::Ok && headers_hold) {
    TeXConfiguration read = Load(store, dirs);
    Require(read.style_names == names);
    Require(read.size_options == AllAsRead(styles.Column(1)) && read.ptsize_options == AllAsRead(styles.Column(2)) &&
            read.style_options == AllAsRead(styles.Column(3)));
  } else if (outcome != WriteOutcome::Ok) {
    Require(config.style_names == before.style_names && config.size_options == before.size_options &&
            config.style_options == before.style_options);
  }

  int mode = static_cast<int>(control_byte(3)) - 128;
  outcome = SaveTeXModeDefault(store, mode);
  unchanged_unless_ok(outcome);
  if (outcome == WriteOutcome::Ok) Require(Load(store, dirs).stored_default == mode);
  return 0;
}
