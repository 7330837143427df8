#include "tex/tex_settings_edits.h"

#include <gtest/gtest.h>

#include "tex/tex_config.h"

namespace quillet {
namespace {

using Strings = std::vector<std::string>;
using Rows = std::vector<Strings>;

WorkingList ListOf(std::size_t columns, const Rows& rows) {
  WorkingList list(columns);
  for (const auto& row : rows) list.Append(row);
  return list;
}

Rows RowsOf(const WorkingList& list) {
  Rows rows;
  for (int i = 0; i < static_cast<int>(list.size()); ++i) rows.push_back(*list.At(i));
  return rows;
}

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

const Rows kMenu = {{"LaTeX", "lplain"}, {"plain TeX", "plain"}, {"日本語", "jplain"}};

TEST(TeXSettingsEditsTest, MenuPanelCommits) {
  // Keys of 1,000 bytes: a ninth does not fit the 8192-byte key list.
  Rows full;
  for (char c = 'a'; c < 'a' + 8; ++c) full.push_back({std::string(1000, c), "f"});
  struct Row {
    const char* what;
    Rows before;
    int selected;
    PanelMode mode;
    std::string name, format_file;
    CommitOutcome::Kind kind;
    Rows after;
    int selection;
    std::string warning;
  } rows[] = {
      {"empty name takes the format file's", kMenu, -1, PanelMode::Add, "", "LPLAIN.FMT", CommitOutcome::Added,
       {kMenu[0], kMenu[1], kMenu[2], {"LPLAIN", "LPLAIN"}}, 0, ""},
      {"added after the end, selection one on", kMenu, 0, PanelMode::Add, "AMS", "amsplain.fmt",
       CommitOutcome::Added, {kMenu[0], kMenu[1], kMenu[2], {"AMS", "amsplain"}}, 1, ""},
      {"selection of the last moves to the new one", kMenu, 2, PanelMode::Add, "AMS", "x", CommitOutcome::Added,
       {kMenu[0], kMenu[1], kMenu[2], {"AMS", "x"}}, 3, ""},
      {"change keeping its name is no duplicate", kMenu, 1, PanelMode::Change, "plain TeX", "c:\\f\\tex.fmt",
       CommitOutcome::Changed, {kMenu[0], {"plain TeX", "c:\\f\\tex"}, kMenu[2]}, 1, ""},
      {"change to another's name", kMenu, 1, PanelMode::Change, "LaTeX", "x.fmt", CommitOutcome::Refused, kMenu, 1,
       "既に同名のﾒﾆｭｰ項目があるので \"LaTeX\" を登録できませんでした。"},
      {"add of an existing name", kMenu, 0, PanelMode::Add, "日本語", "y.fmt", CommitOutcome::Refused, kMenu, 0,
       "既に同名のﾒﾆｭｰ項目があるので \"日本語\" を登録できませんでした。"},
      {"the file's keys ignore letter case", kMenu, -1, PanelMode::Add, "latex", "l.fmt", CommitOutcome::Refused,
       kMenu, -1, "既に同名のﾒﾆｭｰ項目があるので \"latex\" を登録できませんでした。"},
      {"nothing typed registers nothing", kMenu, 1, PanelMode::Add, "", "", CommitOutcome::Unchanged, kMenu, 1, ""},
      {"blanks around the name are dropped", {}, -1, PanelMode::Add, "  LaTeX\t", "a.fmt", CommitOutcome::Added,
       {{"LaTeX", "a"}}, 0, ""},
      {"\"=\" would end the key", kMenu, -1, PanelMode::Add, "a=b", "a.fmt", CommitOutcome::Refused, kMenu, -1,
       "\"a=b\" には wintex.ini に書き込めない文字「=」があるので登録できませんでした。"},
      {"a key line starting with \";\" is a comment", kMenu, -1, PanelMode::Add, ";x", "", CommitOutcome::Refused,
       kMenu, -1, "\";x\" には wintex.ini に書き込めない文字「;」があるので登録できませんでした。"},
      {"a change with nothing selected adds", kMenu, -1, PanelMode::Change, "new", "n.fmt", CommitOutcome::Added,
       {kMenu[0], kMenu[1], kMenu[2], {"new", "n"}}, 0, ""},
      {"a key list that no longer fits", full, -1, PanelMode::Add, std::string(1000, 'z'), "f",
       CommitOutcome::Refused, full, -1,
       "wintex.ini の一覧に入りきらないので \"" + std::string(1000, 'z') + "\" を登録できませんでした。"},
      {"a long text is cut on a character boundary", {}, -1, PanelMode::Add, "x" + Repeat("表", 600),
       Repeat("ソ", 600) + ".fmt", CommitOutcome::Added, {{"x" + Repeat("表", 511), Repeat("ソ", 511)}}, 0, ""},
  };
  for (const auto& row : rows) {
    WorkingList list = ListOf(2, row.before);
    CommitOutcome out = CommitMenuEntry(list, row.selected, row.mode, row.name, row.format_file);
    EXPECT_EQ(out.kind, row.kind) << row.what;
    EXPECT_EQ(RowsOf(list), row.after) << row.what;
    EXPECT_EQ(out.selection, row.selection) << row.what;
    EXPECT_EQ(out.warning, row.warning) << row.what;
  }
}

TEST(TeXSettingsEditsTest, StylePanelCommits) {
  const Rows styles = {{"jarticle", "10pt", "a4j", ""}, {"jbook", "", "", "twoside"}};
  Rows long_list;  // names and commas of 1,019 bytes
  for (char c = 'a'; c < 'a' + 4; ++c) long_list.push_back({std::string(254, c), "", "", ""});
  struct Row {
    const char* what;
    Rows before;
    int selected;
    PanelMode mode;
    Strings fields;
    CommitOutcome::Kind kind;
    Rows after;
    std::string warning;
  } rows[] = {
      {"empty name is Untitled", styles, -1, PanelMode::Add, {"", "11pt", "", ""}, CommitOutcome::Added,
       {styles[0], styles[1], {"Untitled", "11pt", "", ""}}, ""},
      {"change in place", styles, 1, PanelMode::Change, {"jbook", "12pt", "b5j", "openany"}, CommitOutcome::Changed,
       {styles[0], {"jbook", "12pt", "b5j", "openany"}}, ""},
      {"duplicate in another letter case", styles, 1, PanelMode::Change, {"JArticle", "", "", ""},
       CommitOutcome::Refused, styles, "既に同名のｽﾀｲﾙ名があるので \"JArticle\" を登録できませんでした。"},
      {"a section of the file", styles, -1, PanelMode::Add, {"font", "", "", ""}, CommitOutcome::Refused, styles,
       ReservedStyleNameMessage("font")},
      {"padded section name", styles, 0, PanelMode::Change, {" TeXMode ", "", "", ""}, CommitOutcome::Refused,
       styles, ReservedStyleNameMessage("TeXMode")},
      {"\",\" would split the style list", styles, -1, PanelMode::Add, {"a,b", "", "", ""}, CommitOutcome::Refused,
       styles, UnstorableNameMessage("a,b", ',')},
      {"\"]\" would end the section name", styles, -1, PanelMode::Add, {"a]", "", "", ""}, CommitOutcome::Refused,
       styles, UnstorableNameMessage("a]", ']')},
      {"a style list past 1023 bytes", long_list, -1, PanelMode::Add, {"wxyz", "", "", ""}, CommitOutcome::Refused,
       long_list, ListFullMessage("wxyz")},
      {"a style list of 1023 bytes", long_list, -1, PanelMode::Add, {"xyz", "", "", ""}, CommitOutcome::Added,
       {long_list[0], long_list[1], long_list[2], long_list[3], {"xyz", "", "", ""}}, ""},
  };
  for (const auto& row : rows) {
    WorkingList list = ListOf(4, row.before);
    const Strings& f = row.fields;
    CommitOutcome out = CommitStyle(list, row.selected, row.mode, f[0], f[1], f[2], f[3]);
    EXPECT_EQ(out.kind, row.kind) << row.what;
    EXPECT_EQ(RowsOf(list), row.after) << row.what;
    EXPECT_EQ(out.warning, row.warning) << row.what;
  }
}

TEST(TeXSettingsEditsTest, StyleFilesGoIntoTheLastEnteredField) {
  struct Row { const char* field; const char* file; bool name_field; const char* expected; } rows[] = {
      {"jarticle", "JBOOK.STY", true, "jbook"},
      {"", "a4j.sty", false, "a4j"},
      {"a4j", "Twocolumn.sty", false, "a4j,twocolumn"},
      {"", "表ソ.sty", true, "表ソ"},
  };
  for (const auto& r : rows) EXPECT_EQ(WithStyleFile(r.field, r.file, r.name_field), r.expected) << r.file;
  EXPECT_EQ(FormatFileText("lplain"), "lplain.FMT");
}

TEST(TeXSettingsEditsTest, ListsFromParallelColumnsAndRemovals) {
  Strings names{"a", "b", "c"}, values{"1", "2"};
  WorkingList list = WorkingList::FromColumns({&names, &values});
  EXPECT_EQ(RowsOf(list), (Rows{{"a", "1"}, {"b", "2"}, {"c", ""}}));
  for (int bad : {-1, 3, 99}) EXPECT_FALSE(list.Remove(bad)) << bad;
  EXPECT_TRUE(list.Remove(1));
  EXPECT_EQ(list.Column(0), (Strings{"a", "c"}));
  EXPECT_EQ(list.Column(1), (Strings{"1", ""}));
  EXPECT_EQ(list.At(2), nullptr);
}

}  // namespace
}  // namespace quillet
