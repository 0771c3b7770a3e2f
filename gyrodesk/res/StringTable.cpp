// The program's string table.
#include "Templates.h"

#include "resource.h"

namespace gyrodesk {

const afx::StringResource kStringTable[] = {
    {IDS_ABOUTBOX, "&About Gyrodesk..."},
    {IDS_LIVEPLOT, "Live &Plot..."},
};

const std::span<const afx::StringResource> kStrings{kStringTable};

}  // namespace gyrodesk
