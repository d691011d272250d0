#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/unique_handle_win.h"
#include "processes/menu_item_ex_win.h"

// A popup menu whose items are all owner-drawn TMenuItemEx objects; it owns the menu handle and the items.
class TPopupMenu {
  public:
    TPopupMenu();
    TPopupMenu(const TPopupMenu&) = delete;
    TPopupMenu& operator=(const TPopupMenu&) = delete;

    HMENU Handle() const { return menu_.Get(); }
    enum ItemFlags : unsigned { Plain = 0, Disabled = 1 };
    // Inserts item into menu (the top level when null; a submenu is destroyed with the item that carries it) at index
    // (-1: the end); a caption of "-" makes a separator. Returns the item, which stays owned here.
    TMenuItemEx& Insert(HMENU menu,
                        int index,
                        std::unique_ptr<TMenuItemEx> item,
                        unsigned flags = Plain,
                        HMENU submenu = nullptr);
    TMenuItemEx& Add(HMENU menu, const std::string& caption, UINT id, int tag = 0, HMENU submenu = nullptr);

    int Count() const { return GetMenuItemCount(menu_.Get()); }
    // The item at a top-level index (null when there is none there).
    TMenuItemEx* ItemAt(int index) const { return ItemAt(menu_.Get(), index); }
    static TMenuItemEx* ItemAt(HMENU menu, int index);
    // Position of the item in its menu; -1 when it is not there.
    static int IndexOf(const TMenuItemEx& item);
    int IndexOfId(UINT id) const;
    TMenuItemEx* FindById(UINT id) const;
    // Removes and destroys every top-level item with this tag, from the last index down to 0.
    void RemoveByTag(int tag);

    // The item's text as the menu holds it now (others may have set a shortcut after a tab), and its state.
    static std::string TextOf(const TMenuItemEx& item);
    // Gives the item a new caption, in the menu as well.
    static void SetCaption(TMenuItemEx& item, const std::string& caption);
    static UINT StateOf(const TMenuItemEx& item);
    static bool IsSeparator(const TMenuItemEx& item);

  private:
    UniqueMenu menu_;
    std::vector<std::unique_ptr<TMenuItemEx>> items_;
};
