// The program's string table.
#include "Templates.h"

#include "resource.h"

namespace gyrodesk {

const afx::StringResource kStringTable[] = {
    {IDS_ABOUTBOX, "&About Gyrodesk..."},
};

const std::span<const afx::StringResource> kStrings{kStringTable};

}  // namespace gyrodesk
