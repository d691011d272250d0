#include "processes/popup_menu_win.h"

#include <algorithm>

#include "platform/text_win.h"

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {}

MenuItemEx& PopupMenu::Insert(HMENU menu, int index, std::unique_ptr<MenuItemEx> item, unsigned flags, HMENU submenu) {
    item->Menu = menu ? menu : menu_.Get();
    std::wstring text = Widen(item->Caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STATE;
    info.fType = MFT_OWNERDRAW;
    if (item->Caption == "-") {
        info.fType |= MFT_SEPARATOR;
    } else {
        // The text stays in the menu beside the drawing: keyboard access and screen readers use it.
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
    }
    info.fState = (flags & Disabled) ? MFS_DISABLED : MFS_ENABLED;
    info.wID = item->Id;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    if (submenu) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = submenu;
    }
    InsertMenuItemW(item->Menu, index < 0 ? static_cast<UINT>(-1) : static_cast<UINT>(index), TRUE, &info);
    items_.push_back(std::move(item));
    return *items_.back();
}

MenuItemEx& PopupMenu::Add(HMENU menu, const std::string& caption, UINT id, int tag, HMENU submenu) {
    auto item = std::make_unique<MenuItemEx>();
    item->Caption = caption;
    item->Id = id;
    item->Tag = tag;
    return Insert(menu, -1, std::move(item), Plain, submenu);
}

int PopupMenu::IndexOf(const MenuItemEx& item) {
    int count = GetMenuItemCount(item.Menu);
    for (int i = 0; i < count; ++i)
        if (ItemAt(item.Menu, i) == &item)
            return i;
    return -1;
}

MenuItemEx* PopupMenu::ItemAt(HMENU menu, int index) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(index), TRUE, &info))
        return nullptr;
    return reinterpret_cast<MenuItemEx*>(info.dwItemData);
}

int PopupMenu::IndexOfId(UINT id) const {
    for (int i = 0; i < Count(); ++i)
        if (GetMenuItemID(menu_.Get(), i) == id)
            return i;
    return -1;
}

MenuItemEx* PopupMenu::FindById(UINT id) const {
    for (const auto& item : items_)
        if (item->Id == id)
            return item.get();
    return nullptr;
}

void PopupMenu::RemoveByTag(int tag) {
    for (int i = Count() - 1; i >= 0; --i) {
        MenuItemEx* item = ItemAt(i);
        if (!item || item->Tag != tag)
            continue;
        RemoveMenu(menu_.Get(), static_cast<UINT>(i), MF_BYPOSITION);
        items_.erase(std::find_if(items_.begin(), items_.end(), [item](const auto& p) { return p.get() == item; }));
    }
}

std::string PopupMenu::TextOf(const MenuItemEx& item) {
    int position = IndexOf(item);
    if (position < 0)
        return item.Caption;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(item.Menu, static_cast<UINT>(position), TRUE, &info) || info.cch == 0)
        return item.Caption;
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size());
    if (!GetMenuItemInfoW(item.Menu, static_cast<UINT>(position), TRUE, &info))
        return item.Caption;
    return Narrow(text.c_str());
}

void PopupMenu::SetCaption(MenuItemEx& item, const std::string& caption) {
    item.Caption = caption;
    int position = IndexOf(item);
    if (position < 0)
        return;
    std::wstring text = Widen(caption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    SetMenuItemInfoW(item.Menu, static_cast<UINT>(position), TRUE, &info);
}

UINT PopupMenu::StateOf(const MenuItemEx& item) {
    int position = IndexOf(item);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    if (position < 0 || !GetMenuItemInfoW(item.Menu, static_cast<UINT>(position), TRUE, &info))
        return 0;
    return info.fState;
}

bool PopupMenu::IsSeparator(const MenuItemEx& item) {
    return item.Caption == "-";
}
