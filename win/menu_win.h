#pragma once
// Menus built from tables of named items. Items can be hidden (the platform's menus
// cannot, so a hidden item is taken out of its menu and put back at its place), and carry
// a status text (hint) and a shortcut that also becomes an accelerator.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace quillet {

struct MenuItemDef {
  const char* name;
  const char* caption = "";   // empty: a separator
  UINT id = 0;
  const char* hint = "";
  const char* shortcut = "";  // "Ctrl+Z", "F3", "Shift+F5"
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  bool radio = false;
  int depth = 1;              // 0: a menu of the bar; 1: an item of the last menu; 2: of its
                              // last item, which then opens a menu of its own
};

class MenuNode {
 public:
  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  const std::string& hint() const { return hint_; }
  const std::string& shortcut() const { return shortcut_; }
  UINT id() const { return id_; }
  bool enabled() const { return enabled_; }
  bool checked() const { return checked_; }
  bool visible() const { return visible_; }
  bool is_separator() const { return caption_.empty() && !popup_; }
  HMENU popup() const { return popup_; }
  const std::vector<std::unique_ptr<MenuNode>>& children() const { return children_; }

  // Visible and enabled, in a menu that is visible too.
  bool IsLive() const;

  void SetEnabled(bool on);
  void SetChecked(bool on);
  void SetVisible(bool on);
  void SetCaption(const std::string& caption);

 private:
  friend class MenuBar;
  int Position() const;  // index among the visible items of the parent's menu
  void Apply();          // writes caption and state into the parent's menu
  void Insert();

  std::string name_, caption_, hint_, shortcut_;
  UINT id_ = 0;
  bool enabled_ = true, checked_ = false, visible_ = true, radio_ = false;
  HMENU popup_ = nullptr;
  MenuNode* parent_ = nullptr;
  class MenuBar* bar_ = nullptr;
  std::vector<std::unique_ptr<MenuNode>> children_;
};

class MenuBar {
 public:
  explicit MenuBar(const std::vector<MenuItemDef>& defs);
  ~MenuBar();
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  HMENU handle() const { return root_.popup_; }
  void AttachTo(HWND owner) { owner_ = owner; }
  HACCEL accelerators() const { return accel_; }

  // The item with that id; an id the table does not hold is a fault of the program and
  // throws std::logic_error (window procedures report it), never a null dereference.
  MenuNode& Item(UINT id);
  // Lookups that may find nothing: by the item's name, by id, by pop-up menu handle.
  MenuNode* Find(const std::string& name);
  MenuNode* FindById(UINT id);
  MenuNode* FindPopup(HMENU popup);

  // Appends an item at the end of a menu of the bar (for items made at run time).
  MenuNode& Append(MenuNode& menu, const MenuItemDef& def);
  // Removes an item made with Append.
  void Remove(MenuNode& item);

 private:
  friend class MenuNode;
  void Redraw();
  std::unique_ptr<MenuNode> Make(const MenuItemDef& def, MenuNode* parent, bool opens_menu);
  void BuildAccelerators();

  MenuNode root_;
  HWND owner_ = nullptr;
  HACCEL accel_ = nullptr;
};

// "Ctrl+Z" -> ACCEL; false for an empty or unknown shortcut.
bool ParseShortcut(const std::string& text, UINT id, ACCEL& out);

}  // namespace quillet
