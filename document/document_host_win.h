#pragma once
// What a document window needs from the frame that holds it: the document area it lives
// in, where messages are shown, and the frame's answers to its events. The main window
// implements it.
#include <windows.h>

#include <string>
#include <vector>

#include "win/menu_win.h"

namespace quillet {

class Messages;
class TMDIChild;

class DocumentHost {
 public:
  // The frame's document area (the MDI client).
  virtual HWND mdi_client() const = 0;
  // The window that owns the messages a document shows, and how they are shown.
  virtual HWND MessageOwner() const = 0;
  virtual Messages& messages() = 0;

  // The document's text or its selection changed.
  virtual void DocumentChanged(TMDIChild& doc) = 0;
  virtual void DocumentSelectionChanged(TMDIChild& doc) = 0;
  // A document window became active or inactive.
  virtual void UpdateMenuItems() = 0;
  // A document window moved or changed size.
  virtual void DocumentsMoved() = 0;
  // The window is gone; the object may be freed once its last message has returned.
  virtual void ChildDestroyed(TMDIChild* child) = 0;

  // Saves the document as the Save command does; false when the text was not saved.
  virtual bool FileSaveItemClick(TMDIChild& doc) = 0;
  // The document's pop-up menu: its items, their enabling as it opens, the command
  // chosen and the status text of its items.
  virtual std::vector<MenuItemDef> ContextMenuItems() const = 0;
  virtual void JudgeMenu(MenuBar& menu) = 0;
  virtual void OnCommand(UINT id) = 0;
  virtual void DisplayHint(const std::string& status_text) = 0;

 protected:
  ~DocumentHost() = default;
};

}  // namespace quillet
