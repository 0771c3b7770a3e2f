#include <afx/CMenu.h>

#include <cstring>

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

CMenu::Item* CMenu::Find(UINT id, UINT flags) {
    return const_cast<Item*>(static_cast<const CMenu*>(this)->Find(id, flags));
}

const CMenu::Item* CMenu::Find(UINT id, UINT flags) const {
    if (flags & MF_BYPOSITION) return id < m_items.size() ? &m_items[id] : nullptr;
    for (const Item& item : m_items)
        if (!item.IsSeparator() && item.id == id) return &item;
    return nullptr;
}

UINT CMenu::EnableMenuItem(UINT id, UINT enable) {
    Item* item = Find(id, enable & MF_BYPOSITION);
    if (!item) return static_cast<UINT>(-1);
    const UINT state = MF_GRAYED | MF_DISABLED;
    const UINT previous = item->flags & state;
    item->flags = (item->flags & ~state) | (enable & state);
    return previous;
}

BOOL CMenu::RemoveMenu(UINT id, UINT flags) {
    const Item* item = Find(id, flags);
    if (!item) return FALSE;
    m_items.erase(m_items.begin() + (item - m_items.data()));
    return TRUE;
}

UINT CMenu::GetMenuItemID(int pos) const {
    if (pos < 0 || static_cast<size_t>(pos) >= m_items.size()) return static_cast<UINT>(-1);
    return m_items[pos].id;
}

UINT CMenu::GetMenuState(UINT id, UINT flags) const {
    const Item* item = Find(id, flags);
    return item ? item->flags : static_cast<UINT>(-1);
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const {
    const Item* item = Find(id, flags);
    text = item ? item->text.c_str() : "";
    return text.GetLength();
}
