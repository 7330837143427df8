#pragma once
// The main window's menu bar: every menu and item with its caption, shortcut, status text
// and state at start.
#include <vector>

#include "win/menu_win.h"

namespace quillet {

std::vector<MenuItemDef> MainMenuItems();

}  // namespace quillet
