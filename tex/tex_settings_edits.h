#pragma once
// The lists the TeX settings dialog edits before a page is written: the TeX menu (menu
// string and format name per entry) and the basic styles (name and three option lists
// per style), with the rules of the edit panels: what an empty name becomes, which names
// are refused, and texts cut to what wintex.ini gives back when read.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Entries of parallel lists, one row per entry; column 0 is the entry's name.
class WorkingList {
 public:
  using Row = std::vector<std::string>;

  explicit WorkingList(std::size_t columns) : columns_(columns) {}
  // From parallel lists; a shorter list gives empty texts.
  static WorkingList FromColumns(const std::vector<const std::vector<std::string>*>& columns);

  std::size_t size() const { return rows_.size(); }
  std::size_t columns() const { return columns_; }
  // The row at index, or null when there is none.
  const Row* At(int index) const;
  std::vector<std::string> Column(std::size_t k) const;
  // The index of the first entry with that name, or -1. Names that differ only in ASCII
  // letter case are one key or section of the file, so they count as the same.
  int Find(std::string_view name, int skip = -1) const;

  bool operator==(const WorkingList&) const = default;

  void Append(Row row);
  // False (nothing changed) when index names no entry.
  bool Replace(int index, Row row);
  bool Remove(int index);

 private:
  std::size_t columns_;
  std::vector<Row> rows_;
};

enum class PanelMode { Add, Change };

struct CommitOutcome {
  enum Kind {
    Unchanged,  // nothing to register (no name), lists as they were
    Refused,    // warning holds what the user is told, lists as they were
    Added,
    Changed,
  };
  Kind kind = Unchanged;
  int selection = -1;   // the list's selection afterwards (-1: none)
  std::string warning;  // for Refused
  bool changed() const { return kind == Added || kind == Changed; }
};

// "戻る" of the TeX menu page. An empty menu string becomes the format file's name without
// its extension; with that empty too, nothing is registered. The format name is the
// format file's text without its extension.
CommitOutcome CommitMenuEntry(WorkingList& entries, int selected, PanelMode mode, std::string_view menu_name,
                              std::string_view format_file);
// "戻る" of the basic-style page: an empty name becomes "Untitled".
CommitOutcome CommitStyle(WorkingList& styles, int selected, PanelMode mode, std::string_view name,
                          std::string_view size_option, std::string_view ptsize_option,
                          std::string_view style_option);

// What the format-file field shows for an entry: its format name followed by ".FMT".
std::string FormatFileText(std::string_view format_name);

// A double-click on a style file puts its bare lower-case name into a field: the name
// replaces the text of the name field, and is added after a "," to an option field.
std::string WithStyleFile(std::string_view field, std::string_view style_file, bool is_name_field);

// A typed text as wintex.ini can give it back: at most 1023 bytes, never ending in half a
// double-byte character.
std::string StorableText(std::string_view typed);

std::string DuplicateMenuMessage(std::string_view name);
std::string DuplicateStyleMessage(std::string_view name);
// A name with a character that would change its meaning in wintex.ini ("=" in a key,
// "," in the style list, ...).
std::string UnstorableNameMessage(std::string_view name, char character);
// A name that would no longer fit the list the file keeps it in.
std::string ListFullMessage(std::string_view name);

}  // namespace quillet
