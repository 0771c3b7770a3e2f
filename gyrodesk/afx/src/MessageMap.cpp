#include <afx/MessageMap.h>

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code,
                                            UINT id) {
    for (; map != nullptr; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != AfxSig_end; ++entry) {
            if (entry->nMessage != message) continue;
            if (message == WM_COMMAND && (entry->nCode != code || entry->nID != id)) continue;
            return entry;
        }
    }
    return nullptr;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, AfxSig_end, {.vv = nullptr}}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}
