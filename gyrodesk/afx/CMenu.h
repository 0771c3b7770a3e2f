// CMenu: a list of menu items. The layer uses it for a window's system menu (CWnd::
// GetSystemMenu), which the dialog shows as a popup of its own.
#pragma once

#include <string>
#include <vector>

#include <afx/Constants.h>

class CMenu {
public:
    struct Item {
        UINT id = 0;       // command id; 0 for a separator
        std::string text;  // with '&' before the mnemonic letter
        UINT flags = 0;    // MF_SEPARATOR, MF_GRAYED, MF_DISABLED
        bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
        bool IsEnabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) == 0; }
    };

    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Adds an item at the end: MF_SEPARATOR, or MF_STRING with its command id and text.
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
    // Sets MF_ENABLED, MF_GRAYED or MF_DISABLED on the item with command id; returns the previous
    // state (MF_ENABLED/MF_GRAYED/MF_DISABLED bits), or -1 when there is no such item.
    UINT EnableMenuItem(UINT id, UINT enable);

    UINT GetMenuItemCount() const { return static_cast<UINT>(m_items.size()); }
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
