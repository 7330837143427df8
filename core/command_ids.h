#pragma once
// Command identifiers of the menu items and tool buttons, and the identifiers by which
// the program reaches its menus and the separators it shows and hides.

namespace quillet {

enum CommandId : unsigned {
  kCmdNone = 0,
  // Menus of the main window's bar and the document window's pop-up menu
  kFile1 = 10, kEdit1, kFind1, kShow1, kInsert1, kRun1, kTool1, kOption1, kWindow1, kHelp1, kPopupMenu1,
  // Separators: before the recent files, before the format items
  kN7 = 30, kN8,
  // File
  kFileNewItem = 100, kFileOpenItem, kFileInsertItem, kFileSaveItem, kFileSaveAsItem, kFilePrintItem,
  kFileExitItem, kFileName1, kFileName2, kFileName3, kFileName4,
  // File: reopening in another encoding (the menu, then one item per encoding)
  kReopenItem = 112, kReopenSjisItem, kReopenUtf8Item, kReopenEucItem, kReopenJisItem,
  // Edit
  kUndoItem = 120, kRedoItem, kCutItem, kCopyItem, kPasteItem, kDeleteItem, kSelectAllItem, kUndoAllItem,
  // Find
  kFindStrItem = 140, kReplaceStrItem, kNextItem, kJumptoItem, kJumpTopItem, kJumpEndItem, kFindSecItem,
  kJumpNextItem,
  // View
  kComInputItem = 160, kErrMesItem, kToolBarItem, kStatusBarItem,
  // Insert
  kMacroItem = 170, kEquItem, kTabItem,
  // Run
  kTeX1Item = 180, kTeX2Item, kTeX3Item, kStopTeXItem, kForwardSearchItem,
  // Tool
  kAddToolItem = 190,
  // Option
  kEnvItem = 200, kSetItem,
  // Window
  kWindowCascadeItem = 210, kWindowTileItem, kWindowArrangeItem, kWindowMinimizeItem, kWindowCloseAllItem,
  // Help
  kSearchforHelpOnItem = 220, kDigitalItem, kHelpAboutItem,
  // Tool buttons without a menu item of their own
  kRedoBtn = 230,
  // Document window pop-up menu
  kPPropertyItem = 240,
  // Format items of the Option menu are numbered from here
  kFirstFormatCommand = 1000,
  // The platform numbers the Window menu's document entries from here
  kFirstMdiChild = 50000,
};

}  // namespace quillet
