#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/unique_handle_win.h"
#include "processes/menu_item_ex_win.h"

// A popup menu whose items are all owner-drawn MenuItemEx objects; it owns the menu handle and the items.
class PopupMenu {
  public:
    PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU Handle() const { return menu_.Get(); }
    enum ItemFlags : unsigned { Plain = 0, Disabled = 1 };
    // Inserts item into menu (the top level when null; a submenu is destroyed with the item that carries it) at index
    // (-1: the end); a caption of "-" makes a separator. Returns the item, which stays owned here.
    MenuItemEx& Insert(HMENU menu,
                       int index,
                       std::unique_ptr<MenuItemEx> item,
                       unsigned flags = Plain,
                       HMENU submenu = nullptr);
    MenuItemEx& Add(HMENU menu, const std::string& caption, UINT id, int tag = 0, HMENU submenu = nullptr);

    int Count() const { return GetMenuItemCount(menu_.Get()); }
    // The item at a top-level index (null when there is none there).
    MenuItemEx* ItemAt(int index) const { return ItemAt(menu_.Get(), index); }
    static MenuItemEx* ItemAt(HMENU menu, int index);
    // Position of the item in its menu; -1 when it is not there.
    static int IndexOf(const MenuItemEx& item);
    int IndexOfId(UINT id) const;
    MenuItemEx* FindById(UINT id) const;
    // Removes and destroys every top-level item with this tag, from the last index down to 0.
    void RemoveByTag(int tag);

    // The item's text as the menu holds it now (others may have set a shortcut after a tab), and its state.
    static std::string TextOf(const MenuItemEx& item);
    // Gives the item a new caption, in the menu as well.
    static void SetCaption(MenuItemEx& item, const std::string& caption);
    static UINT StateOf(const MenuItemEx& item);
    static bool IsSeparator(const MenuItemEx& item);

  private:
    UniqueMenu menu_;
    std::vector<std::unique_ptr<MenuItemEx>> items_;
};
