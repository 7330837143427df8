#include "tex/tex_settings_edits.h"

#include "core/profile_values.h"
#include "core/sjis.h"
#include "tex/tex_config.h"

namespace quillet {

namespace {

constexpr const char* kUntitled = "Untitled";

// The profile functions drop blanks around key and section names, so a name keeps them
// only until the file is read again.
std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

std::string StorableName(std::string_view typed) { return StorableText(TrimBlanks(StorableText(typed))); }

// The first character that a name may not hold as a TeX menu key: "=" ends the key, and a
// line that starts with ";" or "[" is a comment or a section. 0 when there is none.
char MenuKeyFault(std::string_view name) {
  if (!name.empty() && (name[0] == ';' || name[0] == '[')) return name[0];
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == '=') return '=';
  }
  return 0;
}

// A style name is a section name and one field of the "," list [Style] Style.
char StyleNameFault(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); i += CharLength(name, i)) {
    if (name[i] == ',' || name[i] == '[' || name[i] == ']') return name[i];
  }
  return 0;
}

// Bytes of the key list of [TeXMode] with the row at skip left out and name added.
std::size_t KeyListBytes(const WorkingList& entries, int skip, std::string_view name) {
  // The new key with its NUL, the list's own NUL, and the byte the platform keeps spare
  // when a list only just fits.
  std::size_t bytes = name.size() + 1 + 2;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    if (i != skip) bytes += entries.At(i)->front().size() + 1;
  }
  return bytes;
}

// Bytes of the value of [Style] Style with the row at skip left out and name added.
std::size_t StyleListBytes(const WorkingList& styles, int skip, std::string_view name) {
  std::size_t bytes = name.size();
  for (int i = 0; i < static_cast<int>(styles.size()); ++i) {
    if (i != skip) bytes += 1 + styles.At(i)->front().size();
  }
  return bytes;
}

CommitOutcome Refuse(int selected, std::string warning) {
  return {CommitOutcome::Refused, selected, std::move(warning)};
}

// Change replaces the selected row; Add (or a change with nothing selected) appends and
// moves the selection one place on.
CommitOutcome Register(WorkingList& list, int selected, PanelMode mode, WorkingList::Row row) {
  if (mode == PanelMode::Change && list.At(selected)) {
    list.Replace(selected, std::move(row));
    return {CommitOutcome::Changed, selected, {}};
  }
  list.Append(std::move(row));
  int last = static_cast<int>(list.size()) - 1;
  int next = selected < 0 ? 0 : selected + 1;
  return {CommitOutcome::Added, next > last ? last : next, {}};
}

// The row that a change leaves out of the tests: the selected one, when there is one.
int ChangedRow(const WorkingList& list, int selected, PanelMode mode) {
  return mode == PanelMode::Change && list.At(selected) ? selected : -1;
}

}  // namespace

WorkingList WorkingList::FromColumns(const std::vector<const std::vector<std::string>*>& columns) {
  WorkingList list(columns.size());
  std::size_t rows = columns.empty() ? 0 : columns.front()->size();
  for (std::size_t i = 0; i < rows; ++i) {
    Row row;
    for (const auto* column : columns) row.push_back(i < column->size() ? (*column)[i] : std::string());
    list.rows_.push_back(std::move(row));
  }
  return list;
}

const WorkingList::Row* WorkingList::At(int index) const {
  return index >= 0 && static_cast<std::size_t>(index) < rows_.size() ? &rows_[static_cast<std::size_t>(index)]
                                                                        : nullptr;
}

std::vector<std::string> WorkingList::Column(std::size_t k) const {
  std::vector<std::string> column;
  for (const Row& row : rows_) column.push_back(k < row.size() ? row[k] : std::string());
  return column;
}

int WorkingList::Find(std::string_view name, int skip) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (static_cast<int>(i) != skip && SameIgnoringAsciiCase(rows_[i].front(), name)) return static_cast<int>(i);
  }
  return -1;
}

void WorkingList::Append(Row row) {
  row.resize(columns_);
  rows_.push_back(std::move(row));
}

bool WorkingList::Replace(int index, Row row) {
  if (!At(index)) return false;
  row.resize(columns_);
  rows_[static_cast<std::size_t>(index)] = std::move(row);
  return true;
}

bool WorkingList::Remove(int index) {
  if (!At(index)) return false;
  rows_.erase(rows_.begin() + index);
  return true;
}

CommitOutcome CommitMenuEntry(WorkingList& entries, int selected, PanelMode mode, std::string_view menu_name,
                              std::string_view format_file) {
  std::string format = StorableText(ChangeFileExt(StorableText(format_file), ""));
  std::string name = StorableName(menu_name);
  if (name.empty()) name = StorableName(format);
  if (name.empty()) return {CommitOutcome::Unchanged, selected, {}};
  int skip = ChangedRow(entries, selected, mode);
  if (entries.Find(name, skip) >= 0) return Refuse(selected, DuplicateMenuMessage(name));
  if (char c = MenuKeyFault(name)) return Refuse(selected, UnstorableNameMessage(name, c));
  if (KeyListBytes(entries, skip, name) > kKeyListBufferSize) return Refuse(selected, ListFullMessage(name));
  return Register(entries, selected, mode, {name, format});
}

CommitOutcome CommitStyle(WorkingList& styles, int selected, PanelMode mode, std::string_view name,
                          std::string_view size_option, std::string_view ptsize_option,
                          std::string_view style_option) {
  std::string style = StorableName(name);
  if (style.empty()) style = kUntitled;
  int skip = ChangedRow(styles, selected, mode);
  if (styles.Find(style, skip) >= 0) return Refuse(selected, DuplicateStyleMessage(style));
  if (IsReservedStyleName(style)) return Refuse(selected, ReservedStyleNameMessage(style));
  if (char c = StyleNameFault(style)) return Refuse(selected, UnstorableNameMessage(style, c));
  if (StyleListBytes(styles, skip, style) > kProfileStringLimit) return Refuse(selected, ListFullMessage(style));
  return Register(styles, selected, mode,
                  {style, StorableText(size_option), StorableText(ptsize_option), StorableText(style_option)});
}

std::string FormatFileText(std::string_view format_name) { return std::string(format_name) + ".FMT"; }

std::string WithStyleFile(std::string_view field, std::string_view style_file, bool is_name_field) {
  std::string name = BareLowerName(style_file);
  if (is_name_field || field.empty()) return name;
  return std::string(field) + "," + name;
}

std::string StorableText(std::string_view typed) { return std::string(CutToBytes(typed, kProfileStringLimit)); }

namespace {
// What a duplicate test tells: head, a blank, the name in double quotes, a blank, tail.
std::string DuplicateMessage(const char* head, std::string_view name) {
  std::string message = head;
  message.append(" \"").append(name);
  return message.append("\" を登録できませんでした。");
}
}  // namespace

std::string DuplicateMenuMessage(std::string_view name) { return DuplicateMessage("既に同名のﾒﾆｭｰ項目があるので", name); }

std::string DuplicateStyleMessage(std::string_view name) { return DuplicateMessage("既に同名のｽﾀｲﾙ名があるので", name); }

std::string UnstorableNameMessage(std::string_view name, char character) {
  std::string message = "\"";
  message.append(name).append("\" には ").append(kTeXConfigFile).append(" に書き込めない文字「");
  message.push_back(character);
  return message.append("」があるので登録できませんでした。");
}

std::string ListFullMessage(std::string_view name) {
  std::string message = kTeXConfigFile;
  message.append(" の一覧に入りきらないので \"").append(name);
  return message.append("\" を登録できませんでした。");
}

}  // namespace quillet
