#include <afx/CMenu.h>

#include <utility>

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
    Item item;
    item.flags = flags;
    if (!(flags & MF_SEPARATOR)) {
        item.id = static_cast<UINT>(id);
        item.text = text ? text : "";
    }
    m_items.push_back(std::move(item));
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT id, UINT enable) {
    for (Item& item : m_items) {
        if (item.IsSeparator() || item.id != id) continue;
        const UINT state = MF_GRAYED | MF_DISABLED;
        const UINT previous = item.flags & state;
        item.flags = (item.flags & ~state) | (enable & state);
        return previous;
    }
    return static_cast<UINT>(-1);
}
