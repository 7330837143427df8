#include "tex/tex_config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>

#include "core/profile_values.h"
#include "core/sjis.h"

namespace quillet {
namespace {

using Strings = std::vector<std::string>;

// A profile file in memory that behaves as the platform's: sections and keys without
// regard to ASCII case, values cut at 1023 bytes, key lists through an 8192-byte buffer.
// One write (the n-th attempt, from 0) can be made to fail, so a writer that carries on
// after a refusal shows in the log.
class FakeProfile : public ProfileStore {
 public:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };

  std::string Read(const std::string& section, const std::string& key, const std::string& def) const override {
    const Section* s = Find(section);
    if (!s) return def;
    for (const auto& [k, v] : s->keys) {
      if (SameFileName(k, key)) return CutProfileString(v);
    }
    return def;
  }
  std::vector<std::string> Keys(const std::string& section) const override {
    std::string filled;
    if (const Section* s = Find(section)) {
      for (const auto& kv : s->keys) filled += kv.first + '\0';
    }
    // A list that does not fit loses its end; the last key is cut two bytes short of
    // the buffer's end.
    if (filled.size() + 1 > kKeyListBufferSize) filled.resize(kKeyListBufferSize - 2);
    return SplitKeyList(filled);
  }
  bool Write(const std::string& section, const std::string& key, const std::string& value) override {
    if (!Allowed()) return false;
    log.push_back("W " + section + " " + key + "=" + value);
    Section* s = Find(section);
    if (!s) s = &sections.emplace_back(Section{section, {}});
    for (auto& [k, v] : s->keys) {
      if (SameFileName(k, key)) {
        v = value;
        return true;
      }
    }
    s->keys.emplace_back(key, value);
    return true;
  }
  bool EraseSection(const std::string& section) override {
    if (!Allowed()) return false;
    log.push_back("E " + section);
    std::erase_if(sections, [&](const Section& s) { return SameFileName(s.name, section); });
    return true;
  }

  // The file as text, one "[section]" or "key=value" per line.
  std::string Dump() const {
    std::string text;
    for (const auto& s : sections) {
      text += "[" + s.name + "]\n";
      for (const auto& [k, v] : s.keys) text += k + "=" + v + "\n";
    }
    return text;
  }
  void Set(const std::string& section, const std::string& key, const std::string& value) {
    auto keep = refuse_from;
    refuse_from.reset();
    Write(section, key, value);
    log.clear();
    refuse_from = keep;
  }

  std::vector<Section> sections;
  Strings log;                         // every write that went through, in order
  std::optional<int> refuse_from;      // number of the refused attempt, from 0
  int attempts = 0;

 private:
  bool Allowed() { return !refuse_from || attempts++ != *refuse_from; }
  Section* Find(const std::string& name) {
    for (auto& s : sections) {
      if (SameFileName(s.name, name)) return &s;
    }
    return nullptr;
  }
  const Section* Find(const std::string& name) const { return const_cast<FakeProfile*>(this)->Find(name); }
};

// Directories by exact name; an entry matches "*.ext" when its name ends in .ext in any
// letter case. Records every directory asked for.
class FakeDirectories : public DirectoryLister {
 public:
  std::vector<std::string> List(const std::string& dir, const std::string& pattern) const override {
    asked.push_back(dir + pattern);
    std::vector<std::string> names;
    auto found = entries.find(dir);
    if (found == entries.end()) return names;
    std::string ext = pattern.substr(1);
    for (const auto& name : found->second) {
      if (name.size() >= ext.size() && SameFileName(name.substr(name.size() - ext.size()), ext)) names.push_back(name);
    }
    return names;
  }
  std::map<std::string, Strings> entries;
  mutable Strings asked;
};

TEST(TeXConfigTest, LoadReadsDirectoriesMenuDefaultAndStyles) {
  FakeProfile ini;
  ini.Set("Environ", "TEXINPUTS", "c:\\tex\\inputs");
  ini.Set("Environ", "TEXFONTS", "c:\\tex\\fonts");
  ini.Set("environ", "texformats", "c:\\tex\\fmt");
  ini.Set("Environ", "TEXPOOL", "c:\\tex;d:\\pool");
  ini.Set("TeXMode", "LaTeX 2ε", "lplain");
  ini.Set("TeXMode", "plain TeX", "plain");
  ini.Set("TeXModeDefault", "TeXModeDefault", "1");
  ini.Set("Style", "Style", "jarticle,jbook");
  ini.Set("jarticle", "sizeoption", "10pt,11pt");
  ini.Set("jarticle", "ptsizeoption", "a4j");
  ini.Set("jarticle", "styleoption", "twocolumn");
  ini.Set("JBOOK", "SizeOption", "12pt");
  FakeDirectories dirs;

  TeXConfiguration c = LoadTeXConfiguration(ini, dirs);
  EXPECT_EQ(c.TEXINPUTS, "c:\\tex\\inputs");
  EXPECT_EQ(c.TEXFONTS, "c:\\tex\\fonts");
  EXPECT_EQ(c.TEXFORMATS, "c:\\tex\\fmt");
  EXPECT_EQ(c.TEXPOOL, "c:\\tex;d:\\pool");
  EXPECT_EQ(c.menu_strings, (Strings{"LaTeX 2ε", "plain TeX"}));
  EXPECT_EQ(c.format_names, (Strings{"lplain", "plain"}));
  EXPECT_EQ(c.stored_default, 1);
  EXPECT_EQ(c.style_names, (Strings{"jarticle", "jbook"}));
  EXPECT_EQ(c.size_options, (Strings{"10pt,11pt", "12pt"}));
  EXPECT_EQ(c.ptsize_options, (Strings{"a4j", ""}));
  EXPECT_EQ(c.style_options, (Strings{"twocolumn", ""}));  // jbook has no styleoption
  // TEXPOOL is one directory text: never listed.
  EXPECT_EQ(dirs.asked, (Strings{"c:\\tex\\fonts\\*.tfm", "c:\\tex\\fmt\\*.fmt", "c:\\tex\\inputs\\*.sty",
                                 "c:\\tex\\inputs\\*.tex"}));
}

TEST(TeXConfigTest, AMissingFileGivesEmptyListsAndDefaultZero) {
  FakeProfile ini;
  FakeDirectories dirs;
  TeXConfiguration c = LoadTeXConfiguration(ini, dirs);
  EXPECT_EQ(c.TEXINPUTS + c.TEXFONTS + c.TEXFORMATS + c.TEXPOOL, "");
  EXPECT_TRUE(c.menu_strings.empty());
  EXPECT_TRUE(c.format_names.empty());
  EXPECT_EQ(c.stored_default, 0);
  EXPECT_TRUE(c.style_names.empty());
  EXPECT_TRUE(c.size_options.empty());
  EXPECT_TRUE(dirs.asked.empty());
  EXPECT_TRUE(c.tfm_files.empty() && c.fmt_files.empty() && c.sty_files.empty() && c.tex_files.empty());
}

TEST(TeXConfigTest, StoredDefaultFollowsTheIntegerRules) {
  struct Row { std::optional<std::string> stored; int expected; } rows[] = {
      {"1", 1}, {"0x1", 1}, {"0X1f", 31}, {"abc", 0}, {"-1", -1}, {"", 0}, {std::nullopt, 0}, {"0x", 0}, {"+2", 2},
  };
  for (const auto& row : rows) {
    FakeProfile ini;
    ini.Set("TeXMode", "LaTeX", "lplain");
    if (row.stored) ini.Set("TeXModeDefault", "TeXModeDefault", *row.stored);
    FakeDirectories dirs;
    EXPECT_EQ(LoadTeXConfiguration(ini, dirs).stored_default, row.expected) << row.stored.value_or("(missing)");
  }
}

TEST(TeXConfigTest, ListsEndAtTheFirstEmptyElementAndKeepBlanks) {
  struct Row { const char* fonts; Strings asked; } rows[] = {
      {"c:\\tex\\fonts;;d:\\fonts", {"c:\\tex\\fonts\\*.tfm"}},
      {"c:\\tex\\fonts\\", {"c:\\tex\\fonts\\*.tfm"}},
      {"c:\\tex\\fonts\\;d:\\fonts", {"c:\\tex\\fonts\\*.tfm", "d:\\fonts\\*.tfm"}},
      {"c:\\表", {"c:\\表\\*.tfm"}},  // the trail byte of 表 is 0x5C, not a backslash
      {"c:\\tex\\fonts; d:\\fonts", {"c:\\tex\\fonts\\*.tfm", " d:\\fonts\\*.tfm"}},
      {";c:\\tex\\fonts", {}},
      {"c:\\tex\\fonts;", {"c:\\tex\\fonts\\*.tfm"}},
      {"", {}},
  };
  for (const auto& row : rows) {
    FakeProfile ini;
    ini.Set("Environ", "TEXFONTS", row.fonts);
    FakeDirectories dirs;
    LoadTeXConfiguration(ini, dirs);
    EXPECT_EQ(dirs.asked, row.asked) << row.fonts;
  }
  struct StyleRow { const char* style; Strings names; } style_rows[] = {
      {"jarticle,jbook", {"jarticle", "jbook"}},
      {"jarticle,,jbook", {"jarticle"}},
      {"jarticle, jbook", {"jarticle", " jbook"}},
      {",jbook", {}},
      {"jarticle,", {"jarticle"}},
  };
  for (const auto& row : style_rows) {
    FakeProfile ini;
    ini.Set("Style", "Style", row.style);
    FakeDirectories dirs;
    TeXConfiguration c = LoadTeXConfiguration(ini, dirs);
    EXPECT_EQ(c.style_names, row.names) << row.style;
    EXPECT_EQ(c.style_options.size(), row.names.size()) << row.style;
  }
}

TEST(TeXConfigTest, FileListsAreSortedWithEveryDirectorysDuplicates) {
  FakeProfile ini;
  ini.Set("Environ", "TEXFONTS", "c:\\a;c:\\b\\;c:\\missing");
  ini.Set("Environ", "TEXFORMATS", "c:\\fmt");
  ini.Set("Environ", "TEXINPUTS", "c:\\in;c:\\a");
  FakeDirectories dirs;
  dirs.entries["c:\\a\\"] = {"cmr10.tfm", "CMBX10.TFM", "article.sty", "old.tfm"};
  dirs.entries["c:\\b\\"] = {"cmr10.tfm", "Cmr10.tfm", "jis.tfm", "readme.txt"};
  dirs.entries["c:\\fmt\\"] = {"plain.fmt", "LPLAIN.FMT", "lplain.fmt.bak"};
  dirs.entries["c:\\in\\"] = {"zz.tex", "ア.sty", "book.sty", "Zeta.tex", "A.tex", "sub.tex", "Book.sty"};
  TeXConfiguration c = LoadTeXConfiguration(ini, dirs);
  EXPECT_EQ(c.tfm_files, (Strings{"CMBX10.TFM", "Cmr10.tfm", "cmr10.tfm", "cmr10.tfm", "jis.tfm", "old.tfm"}));
  EXPECT_EQ(c.fmt_files, (Strings{"LPLAIN.FMT", "plain.fmt"}));
  EXPECT_EQ(c.sty_files, (Strings{"article.sty", "Book.sty", "book.sty", "ア.sty"}));
  EXPECT_EQ(c.tex_files, (Strings{"A.tex", "sub.tex", "Zeta.tex", "zz.tex"}));
}

TEST(TeXConfigTest, ValuesAreSeenUpTo1023Bytes) {
  FakeProfile ini;
  std::string second(1500, 'x');
  ini.Set("Environ", "TEXFONTS", "c:\\f;" + second);
  ini.Set("Environ", "TEXPOOL", std::string(2000, 'p'));
  FakeDirectories dirs;
  TeXConfiguration c = LoadTeXConfiguration(ini, dirs);
  EXPECT_EQ(c.TEXPOOL, std::string(1023, 'p'));
  EXPECT_EQ(c.TEXFONTS.size(), 1023u);
  EXPECT_EQ(dirs.asked.at(1), std::string(1023 - 5, 'x') + "\\*.tfm");
}

TEST(TeXConfigTest, MenuKeysAreThoseThatFitTheKeyBuffer) {
  FakeProfile ini;
  for (int i = 0; i < 800; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "key%07d", i);  // 10 bytes and a NUL each
    ini.Set("TeXMode", key, "f" + std::to_string(i));
  }
  FakeDirectories dirs;
  TeXConfiguration c = LoadTeXConfiguration(ini, dirs);
  ASSERT_EQ(c.menu_strings.size(), 745u);  // 744 whole keys in 8184 bytes, then a cut one
  EXPECT_EQ(c.menu_strings[743], "key0000743");
  EXPECT_EQ(c.format_names[743], "f743");
  EXPECT_EQ(c.menu_strings[744], "key000");
  EXPECT_EQ(c.format_names[744], "");  // no key of that name
}

TEST(TeXConfigTest, SplitKeyListTakesWhatTheBufferHolds) {
  struct Row { std::string filled; Strings keys; } rows[] = {
      {std::string("LaTeX\0plain TeX\0", 16), {"LaTeX", "plain TeX"}},
      {std::string("LaTeX\0pla", 9), {"LaTeX", "pla"}},
      {"", {}},
      {std::string("\0", 1), {}},
  };
  for (const auto& row : rows) EXPECT_EQ(SplitKeyList(row.filled), row.keys) << row.filled;
}

TEST(TeXConfigTest, WriteEnvironWritesFourKeysInOrderAndStopsAtARefusal) {
  struct Row { std::optional<int> refuse_from; WriteOutcome outcome; std::size_t written; } rows[] = {
      {std::nullopt, WriteOutcome::Ok, 4}, {2, WriteOutcome::Refused, 2}, {0, WriteOutcome::Refused, 0},
  };
  const Strings all = {"W Environ TEXINPUTS=c:\\in", "W Environ TEXFONTS=c:\\fonts", "W Environ TEXFORMATS=c:\\fmt",
                       "W Environ TEXPOOL=c:\\pool"};
  for (const auto& row : rows) {
    FakeProfile ini;
    ini.refuse_from = row.refuse_from;
    TeXConfiguration c;
    EXPECT_EQ(WriteEnviron(ini, c, "c:\\in", "c:\\fonts", "c:\\fmt", "c:\\pool"), row.outcome) << row.written;
    EXPECT_EQ(ini.log, Strings(all.begin(), all.begin() + row.written));
    EXPECT_EQ(c.TEXINPUTS + "|" + c.TEXFONTS + "|" + c.TEXFORMATS + "|" + c.TEXPOOL,
              "c:\\in|c:\\fonts|c:\\fmt|c:\\pool");
  }
}

TEST(TeXConfigTest, WriteTeXMenuRewritesTheSectionInListOrder) {
  FakeProfile ini;
  ini.Set("TeXMode", "old", "x");
  ini.Set("TeXMode", "LaTeX", "old");
  ini.Set("Environ", "TEXPOOL", "p");
  TeXConfiguration c;
  c.menu_strings = {"old", "LaTeX"};
  EXPECT_EQ(WriteTeXMenu(ini, c, {"plain TeX", "LaTeX"}, {"plain", "lplain"}), WriteOutcome::Ok);
  EXPECT_EQ(ini.Dump(), "[Environ]\nTEXPOOL=p\n[TeXMode]\nplain TeX=plain\nLaTeX=lplain\n");
  EXPECT_EQ(c.menu_strings, (Strings{"plain TeX", "LaTeX"}));
  EXPECT_EQ(c.format_names, (Strings{"plain", "lplain"}));

  EXPECT_EQ(WriteTeXMenu(ini, c, {}, {}), WriteOutcome::Ok);
  EXPECT_EQ(ini.Dump(), "[Environ]\nTEXPOOL=p\n");
  EXPECT_TRUE(c.menu_strings.empty());
  FakeDirectories dirs;
  EXPECT_TRUE(LoadTeXConfiguration(ini, dirs).menu_strings.empty());
}

TEST(TeXConfigTest, ARefusedMenuWriteKeepsTheListsInMemory) {
  struct Row { int refuse_from; const char* file; } rows[] = {
      {0, "[TeXMode]\nLaTeX=lplain\n"},  // the erase itself refused
      {2, "[TeXMode]\nA=a\n"},
  };
  for (const auto& row : rows) {
    FakeProfile ini;
    ini.Set("TeXMode", "LaTeX", "lplain");
    ini.refuse_from = row.refuse_from;
    TeXConfiguration c;
    c.menu_strings = {"LaTeX"};
    c.format_names = {"lplain"};
    EXPECT_EQ(WriteTeXMenu(ini, c, {"A", "B", "C"}, {"a", "b", "c"}), WriteOutcome::Refused) << row.refuse_from;
    EXPECT_EQ(ini.Dump(), row.file) << row.refuse_from;
    EXPECT_EQ(c.menu_strings, Strings{"LaTeX"});
    EXPECT_EQ(c.format_names, Strings{"lplain"});
  }
}

TEST(TeXConfigTest, FontMappingKeysAreLowerCaseNamesWithoutExtension) {
  struct Row { const char* tfm; const char* font; const char* key; const char* value; } rows[] = {
      {"CMR10.TFM", "(代用なし)", "cmr10", ""},
      {"cmbx10.tfm", "ＭＳ 明朝", "cmbx10", "ＭＳ 明朝"},
      {"Min10.Tfm", "", "min10", ""},
      {"\x83\x41.TFM", "Courier", "\x83\x41", "Courier"},  // ア: its trail byte 'A' stays
      {".tfm", "X", "", "X"},
  };
  for (const auto& row : rows) {
    FakeProfile ini;
    EXPECT_EQ(WriteFontMapping(ini, row.tfm, row.font), WriteOutcome::Ok) << row.tfm;
    EXPECT_EQ(ini.log, Strings{std::string("W Font ") + row.key + "=" + row.value}) << row.tfm;
    std::string shown = *row.value ? row.value : kNoSubstitute;
    EXPECT_EQ(ReadFontMapping(ini, row.tfm), shown) << row.tfm;
  }
  for (const char* tfm : {"a=b.tfm", "[x].tfm", " ;c.tfm"}) {  // names no key can hold
    FakeProfile ini;
    EXPECT_EQ(WriteFontMapping(ini, tfm, "Arial"), WriteOutcome::Refused) << tfm;
    EXPECT_TRUE(ini.log.empty()) << tfm;
  }
  FakeProfile ini;
  EXPECT_EQ(ReadFontMapping(ini, "cmr10.tfm"), kNoSubstitute);  // missing key
  ini.Set("font", "CMR10", "Times");
  EXPECT_EQ(ReadFontMapping(ini, "cmr10.tfm"), "Times");
  ini.refuse_from = 0;
  EXPECT_EQ(WriteFontMapping(ini, "cmr10.tfm", "Arial"), WriteOutcome::Refused);
  EXPECT_EQ(ReadFontMapping(ini, "cmr10.tfm"), "Times");
}

FakeProfile TwoStyles() {
  FakeProfile ini;
  ini.Set("Style", "Style", "jarticle,jbook");
  ini.Set("jarticle", "sizeoption", "10pt");
  ini.Set("jbook", "styleoption", "twoside");
  ini.Set("Font", "cmr10", "Times");
  return ini;
}

TEST(TeXConfigTest, WriteStylesErasesOldSectionsAndWritesTheNewOnes) {
  FakeProfile ini = TwoStyles();
  TeXConfiguration c;
  EXPECT_EQ(WriteStyles(ini, c, {"jreport", "jarticle"}, {"11pt", ""}, {"a4j", ""}, {"", "fleqn"}), WriteOutcome::Ok);
  EXPECT_EQ(ini.Dump(),
            "[Style]\nStyle=jreport,jarticle\n[Font]\ncmr10=Times\n"
            "[jreport]\nsizeoption=11pt\nptsizeoption=a4j\nstyleoption=\n"
            "[jarticle]\nsizeoption=\nptsizeoption=\nstyleoption=fleqn\n");
  EXPECT_EQ(c.style_names, (Strings{"jreport", "jarticle"}));
  EXPECT_EQ(c.size_options, (Strings{"11pt", ""}));
  EXPECT_EQ(c.ptsize_options, (Strings{"a4j", ""}));
  EXPECT_EQ(c.style_options, (Strings{"", "fleqn"}));

  EXPECT_EQ(WriteStyles(ini, c, {}, {}, {}, {}), WriteOutcome::Ok);  // every style deleted
  EXPECT_EQ(ini.Dump(), "[Style]\nStyle=\n[Font]\ncmr10=Times\n");
  EXPECT_TRUE(c.style_names.empty() && c.size_options.empty() && c.style_options.empty());
}

TEST(TeXConfigTest, StylesNamedLikeTheFilesSectionsAreRefusedBeforeAnyChange) {
  const char* reserved[] = {"Environ", "font", "STYLE", "TeXMode", "texmodedefault", " Font ", "\tStyle"};
  for (const char* name : reserved) {
    EXPECT_TRUE(IsReservedStyleName(name)) << name;
    FakeProfile ini = TwoStyles();
    std::string before = ini.Dump();
    TeXConfiguration c;
    c.style_names = {"jarticle"};
    EXPECT_EQ(WriteStyles(ini, c, {"jreport", name}, {"", ""}, {"", ""}, {"", ""}), WriteOutcome::ReservedStyleName)
        << name;
    EXPECT_TRUE(ini.log.empty()) << name;
    EXPECT_EQ(ini.Dump(), before) << name;
    EXPECT_EQ(c.style_names, Strings{"jarticle"}) << name;
    std::string message = ReservedStyleNameMessage(name);
    EXPECT_NE(message.find("\"" + std::string(name) + "\""), std::string::npos) << message;
    EXPECT_NE(message.find(kTeXConfigFile), std::string::npos) << message;
  }
  for (const char* name : {"Fonts", "TeXModeDefault2", "jarticle", "", "Style-x"}) {
    EXPECT_FALSE(IsReservedStyleName(name)) << name;
  }
}

TEST(TeXConfigTest, AnOldStyleListNamingAFileSectionNeverErasesIt) {
  FakeProfile ini;
  ini.Set("Environ", "TEXPOOL", "c:\\pool");
  ini.Set("Font", "cmr10", "Times");
  ini.Set("Style", "Style", "jbook,Font,environ");
  ini.Set("jbook", "sizeoption", "12pt");
  TeXConfiguration c;
  EXPECT_EQ(WriteStyles(ini, c, {"jarticle"}, {"10pt"}, {""}, {""}), WriteOutcome::Ok);
  EXPECT_EQ(ini.Dump(),
            "[Environ]\nTEXPOOL=c:\\pool\n[Font]\ncmr10=Times\n[Style]\nStyle=jarticle\n"
            "[jarticle]\nsizeoption=10pt\nptsizeoption=\nstyleoption=\n");
}

TEST(TeXConfigTest, ARefusedStyleWriteStopsAndKeepsTheListsInMemory) {
  // Writes: erase jarticle (0), erase jbook (1), jreport's three options (2-4), Style (5).
  struct Row { int refuse_from; std::size_t written; } rows[] = {{0, 0}, {1, 1}, {3, 3}, {5, 5}};
  for (const auto& row : rows) {
    FakeProfile ini = TwoStyles();
    ini.refuse_from = row.refuse_from;
    TeXConfiguration c;
    c.style_names = {"jarticle", "jbook"};
    EXPECT_EQ(WriteStyles(ini, c, {"jreport"}, {"11pt"}, {""}, {""}), WriteOutcome::Refused) << row.refuse_from;
    EXPECT_EQ(ini.log.size(), row.written) << row.refuse_from;
    EXPECT_EQ(ini.Read("Style", "Style", "?"), "jarticle,jbook") << row.refuse_from;
    EXPECT_EQ(c.style_names, (Strings{"jarticle", "jbook"})) << row.refuse_from;
  }
}

TEST(TeXConfigTest, SavedDefaultIsDecimalAndReadsBack) {
  for (int mode : {-1, 0, 2, 15}) {
    FakeProfile ini;
    ini.Set("TeXMode", "LaTeX", "lplain");
    EXPECT_EQ(SaveTeXModeDefault(ini, mode), WriteOutcome::Ok);
    EXPECT_EQ(ini.log, Strings{"W TeXModeDefault TeXModeDefault=" + std::to_string(mode)});
    FakeDirectories dirs;
    EXPECT_EQ(LoadTeXConfiguration(ini, dirs).stored_default, mode);
  }
  FakeProfile ini;
  ini.refuse_from = 0;
  EXPECT_EQ(SaveTeXModeDefault(ini, 1), WriteOutcome::Refused);
  EXPECT_EQ(RefusedWriteMessage(), "wintex.ini に書き込めません");
}

TEST(TeXConfigTest, WhatTheWritersWriteLoadsBackUnchanged) {
  FakeProfile ini;
  TeXConfiguration written;
  ASSERT_EQ(WriteEnviron(ini, written, "c:\\in;d:\\in", "c:\\fonts", "c:\\fmt", "c:\\pool"), WriteOutcome::Ok);
  ASSERT_EQ(WriteTeXMenu(ini, written, {"LaTeX 2ε", "ﾌﾟﾚｰﾝ TeX"}, {"lplain", "plain"}), WriteOutcome::Ok);
  ASSERT_EQ(WriteStyles(ini, written, {"jarticle", "表"}, {"10pt,11pt", ""}, {"", "a5j"}, {"twocolumn", ""}),
            WriteOutcome::Ok);
  FakeDirectories dirs;
  TeXConfiguration read = LoadTeXConfiguration(ini, dirs);
  EXPECT_EQ(read.TEXINPUTS, written.TEXINPUTS);
  EXPECT_EQ(read.TEXFONTS, written.TEXFONTS);
  EXPECT_EQ(read.TEXFORMATS, written.TEXFORMATS);
  EXPECT_EQ(read.TEXPOOL, written.TEXPOOL);
  EXPECT_EQ(read.menu_strings, written.menu_strings);
  EXPECT_EQ(read.format_names, written.format_names);
  EXPECT_EQ(read.style_names, written.style_names);
  EXPECT_EQ(read.size_options, written.size_options);
  EXPECT_EQ(read.ptsize_options, written.ptsize_options);
  EXPECT_EQ(read.style_options, written.style_options);
}

}  // namespace
}  // namespace quillet
