#pragma once
// The main window's commands, one row each: where the command sits in the menus, its key,
// status text and tool-bar button, the rule that enables it and what runs it. The menu
// bar, the document's pop-up menu, the tool bar, the accelerators and the enabling of them
// all are made from these rows.
#include <windows.h>

#include <cstddef>
#include <span>
#include <vector>

#include "app/speed_panel_win.h"
#include "artwork/artwork_win.h"
#include "core/command_rules.h"
#include "win/menu_win.h"

namespace quillet {

class TMainForm;

// Tool buttons in their order on the bar.
enum ToolButton : std::size_t {
  NewBtn, OpenBtn, SaveBtn, PrintBtn, FindBtn, CutBtn, CopyBtn, PasteBtn, UndoBtn, RedoBtn,
  TeX1Btn, TeX2Btn, TeX3Btn, ForwardSearchBtn, HelpBtn, kToolButtonCount
};

// A command's button on the tool bar (slot kToolButtonCount: it has none).
struct ToolPlace {
  ToolButton slot = kToolButtonCount;
  const char* name = "";   // "NewBtn"
  int x = 0;               // left edge on the bar
  ToolGlyph glyph = ToolGlyph::New;
  const char* tip = "";    // "tool tip|status text"
};

// A command's entry in the document window's pop-up menu (name null: it has none).
struct ContextPlace {
  const char* name = nullptr;
  const char* hint = "";
  const char* separator_before = nullptr;  // the name of a separator put before it
};

// The command's handler; id tells apart the commands one handler serves.
using CommandHandler = void (*)(TMainForm& main, UINT id);

// Depth of a command that has no item in the menu bar.
inline constexpr int kNotInMenuBar = -1;

struct CommandRow {
  MenuItemDef menu;  // its place in the menu bar (a menu, an item or a separator)
  CommandRule rule = CommandRule::kAlways;
  CommandHandler run = nullptr;  // null for menus and separators
  ToolPlace button{};
  ContextPlace context{};
};

std::span<const CommandRow> CommandTable();
// The row of a command id; null when no row has it.
const CommandRow* FindCommand(UINT id);

// The menu bar, the pop-up menu and the tool bar as the rows give them; items start in
// the state their rules give without a document.
std::vector<MenuItemDef> MainMenuItems();
std::vector<MenuItemDef> ContextMenuItems();
std::vector<SpeedButtonDef> ToolButtons();

}  // namespace quillet
