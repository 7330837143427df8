#pragma once
// TInput, the command palette "ｺﾏﾝﾄﾞ入力": a floating window with the list of TeX commands
// of command.db above a splitter and the selected command's description below it; a
// double-click types the command into the document.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "aids/command_db.h"
#include "win/file_io_win.h"
#include "win/form_win.h"
#include "win/split_control_win.h"

namespace quillet {

// The palette's size when the settings give none, and its gap above the screen's bottom.
inline constexpr int kPaletteWidth = 170, kPaletteHeight = 190, kPaletteBottomGap = 16;
// The smallest outer size the palette keeps.
inline constexpr int kPaletteMinWidth = 100, kPaletteMinHeight = 150;

class TInput : public Form {
 public:
  bool Create(HWND owner);
  HWND ListView1 = nullptr, Memo = nullptr;
  SplitterBar Panel1;
  // Share of the client height given to the list, in percent.
  int list_ratio = 75;
  // Told whenever the palette is shown or hidden, and when a drag changed the ratio.
  std::function<void(bool shown)> on_visibility;
  std::function<void(int ratio)> on_ratio;
  // The editor a double-click types into (null: none).
  std::function<HWND()> target_editor;

  // Fills the list from a command.db file, sorted by name. A file that is missing,
  // cannot be read or is too large to read at start-up leaves the list as it was; the
  // answer says which.
  ReadStatus LoadCommands(const std::string& path);
  // The entries in the list's order.
  const std::vector<CommandEntry>& commands() const { return commands_; }

  // Lays the list, splitter and description out for the current size and ratio.
  void FormResize();
  void ListView1Change();
  // A double-click types "\" and the name; with Shift (and Shift+Enter) the command with its
  // mandatory arguments, the first placeholder selected. Enter is a double-click.
  void ListView1DblClick();
  void ListView1ColumnClick(int column);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  int Selected() const;
  void ShowCommands();
  void Panel1Mouse(UINT msg, WPARAM keys, POINT at);
  LRESULT OnNotify(const NMHDR& header, LPARAM lp);
  void InsertSelected(bool with_arguments);
  int FindTyped(const std::string& typed, int start) const;
  void FitColumns();
  void ShowWholeName(NMLVGETINFOTIPA& tip) const;

  std::vector<CommandEntry> commands_;
  int kind_width_ = 65;  // the kind column: its widest text
  std::unique_ptr<TSplitControl> split_;
  bool restacked_ = false;
};

}  // namespace quillet
