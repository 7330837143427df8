#include "win/menu_win.h"

#include <functional>
#include <stdexcept>

namespace quillet {

namespace {
void ForEach(MenuNode& node, const std::function<void(MenuNode&)>& fn) {
  for (auto& child : node.children()) {
    fn(*child);
    ForEach(*child, fn);
  }
}
}  // namespace

int MenuNode::Position() const {
  int pos = 0;
  for (auto& sibling : parent_->children_) {
    if (sibling.get() == this) return pos;
    if (sibling->visible_) ++pos;
  }
  return pos;
}

void MenuNode::Apply() {
  if (!visible_) return;
  std::string text = caption_;
  if (!shortcut_.empty()) text += "\t" + shortcut_;
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_STATE | MIIM_FTYPE;
  mii.fType = is_separator() ? MFT_SEPARATOR : (radio_ ? MFT_RADIOCHECK : MFT_STRING);
  mii.fState = (enabled_ ? MFS_ENABLED : MFS_DISABLED) | (checked_ ? MFS_CHECKED : MFS_UNCHECKED);
  if (!is_separator()) {
    mii.fMask |= MIIM_STRING;
    mii.dwTypeData = text.data();
  }
  SetMenuItemInfoA(parent_->popup_, static_cast<UINT>(Position()), TRUE, &mii);
  // Only the bar itself is on screen while no menu is open.
  if (!parent_->parent_) bar_->Redraw();
}

void MenuNode::Insert() {
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_ID | MIIM_FTYPE | (popup_ ? MIIM_SUBMENU : 0);
  mii.wID = id_;
  mii.hSubMenu = popup_;
  mii.fType = is_separator() ? MFT_SEPARATOR : MFT_STRING;
  InsertMenuItemA(parent_->popup_, static_cast<UINT>(Position()), TRUE, &mii);
  Apply();
}

bool MenuNode::IsLive() const {
  for (const MenuNode* n = this; n && n->parent_; n = n->parent_) {
    if (!n->visible_ || !n->enabled_) return false;
  }
  return true;
}

// State changes are frequent (every key typed may ask again): only real changes reach
// the platform's menu.
void MenuNode::SetEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  Apply();
}

void MenuNode::SetChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  Apply();
}

void MenuNode::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Apply();
}

void MenuNode::SetVisible(bool on) {
  if (on == visible_) return;
  if (on) {
    visible_ = true;
    Insert();
  } else {
    RemoveMenu(parent_->popup_, static_cast<UINT>(Position()), MF_BYPOSITION);
    visible_ = false;
    if (!parent_->parent_) bar_->Redraw();
  }
}

std::unique_ptr<MenuNode> MenuBar::Make(const MenuItemDef& def, MenuNode* parent, bool opens_menu) {
  auto node = std::make_unique<MenuNode>();
  node->name_ = def.name;
  node->caption_ = def.caption;
  node->hint_ = def.hint;
  node->shortcut_ = def.shortcut;
  node->id_ = def.id;
  node->enabled_ = def.enabled;
  node->checked_ = def.checked;
  node->visible_ = def.visible;
  node->radio_ = def.radio;
  node->parent_ = parent;
  node->bar_ = this;
  if (opens_menu) node->popup_ = CreatePopupMenu();
  return node;
}

MenuBar::MenuBar(const std::vector<MenuItemDef>& defs) {
  root_.popup_ = CreateMenu();
  root_.bar_ = this;
  // open[d]: the menu that items of depth d go into.
  std::vector<MenuNode*> open{&root_};
  for (std::size_t i = 0; i < defs.size(); ++i) {
    const MenuItemDef& def = defs[i];
    bool opens_menu = def.depth == 0 || (i + 1 < defs.size() && defs[i + 1].depth > def.depth);
    MenuNode* parent = open.at(static_cast<std::size_t>(def.depth));
    parent->children_.push_back(Make(def, parent, opens_menu));
    MenuNode* node = parent->children_.back().get();
    open.resize(static_cast<std::size_t>(def.depth) + 1);
    if (opens_menu) open.push_back(node);
    if (node->visible_) node->Insert();
  }
  BuildAccelerators();
}

MenuBar::~MenuBar() {
  // Hidden menus are not attached to the bar, so the bar does not destroy them.
  ForEach(root_, [](MenuNode& n) {
    if (n.popup_ && !n.visible_) DestroyMenu(n.popup_);
  });
  if (!owner_ || GetMenu(owner_) != root_.popup_) DestroyMenu(root_.popup_);
  if (accel_) DestroyAcceleratorTable(accel_);
}

void MenuBar::Redraw() {
  if (owner_ && IsWindow(owner_)) DrawMenuBar(owner_);
}

MenuNode* MenuBar::Find(const std::string& name) {
  MenuNode* found = nullptr;
  ForEach(root_, [&](MenuNode& n) {
    if (!found && n.name_ == name) found = &n;
  });
  return found;
}

MenuNode* MenuBar::FindById(UINT id) {
  MenuNode* found = nullptr;
  if (id == 0) return nullptr;
  ForEach(root_, [&](MenuNode& n) {
    if (!found && n.id_ == id) found = &n;
  });
  return found;
}

MenuNode& MenuBar::Item(UINT id) {
  MenuNode* found = FindById(id);
  if (!found) throw std::logic_error("menu item " + std::to_string(id) + " is not in the menu");
  return *found;
}

MenuNode* MenuBar::FindPopup(HMENU popup) {
  MenuNode* found = nullptr;
  ForEach(root_, [&](MenuNode& n) {
    if (!found && n.popup_ && n.popup_ == popup) found = &n;
  });
  return found;
}

MenuNode& MenuBar::Append(MenuNode& menu, const MenuItemDef& def) {
  menu.children_.push_back(Make(def, &menu, false));
  MenuNode& node = *menu.children_.back();
  if (node.visible_) node.Insert();
  return node;
}

void MenuBar::Remove(MenuNode& item) {
  MenuNode* parent = item.parent_;
  if (item.visible_) RemoveMenu(parent->popup_, static_cast<UINT>(item.Position()), MF_BYPOSITION);
  std::erase_if(parent->children_, [&](const std::unique_ptr<MenuNode>& n) { return n.get() == &item; });
  Redraw();
}

void MenuBar::BuildAccelerators() {
  std::vector<ACCEL> table;
  ForEach(root_, [&](MenuNode& n) {
    ACCEL a;
    if (ParseShortcut(n.shortcut_, n.id_, a)) table.push_back(a);
  });
  if (!table.empty()) accel_ = CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

bool ParseShortcut(const std::string& text, UINT id, ACCEL& out) {
  if (text.empty()) return false;
  out = ACCEL{FVIRTKEY, 0, static_cast<WORD>(id)};
  std::string rest = text;
  const std::pair<const char*, BYTE> modifiers[] = {{"Ctrl+", FCONTROL}, {"Shift+", FSHIFT}, {"Alt+", FALT}};
  for (bool again = true; again;) {
    again = false;
    for (auto [prefix, flag] : modifiers) {
      std::string p = prefix;
      if (rest.rfind(p, 0) == 0) {
        out.fVirt |= flag;
        rest = rest.substr(p.size());
        again = true;
      }
    }
  }
  if (rest.size() == 1 && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= '0' && rest[0] <= '9'))) {
    out.key = static_cast<WORD>(rest[0]);
    return true;
  }
  if (rest == "Break") {
    out.key = VK_CANCEL;
    return true;
  }
  if (rest.size() >= 2 && rest[0] == 'F') {
    int n = std::atoi(rest.c_str() + 1);
    if (n >= 1 && n <= 24) {
      out.key = static_cast<WORD>(VK_F1 + n - 1);
      return true;
    }
  }
  return false;
}

}  // namespace quillet
