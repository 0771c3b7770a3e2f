#include "VersionInfo.h"

namespace gyrodesk {

namespace {

constexpr VersionString kStrings[] = {
    {"CompanyName", ""},
    {"FileDescription", "GYRODESK MFC Application"},
    {"FileVersion", "1, 0, 0, 1"},
    {"InternalName", "GYRODESK"},
    {"LegalCopyright", "Copyright \xC2\xA9 1995 Brellamoor Sensorworks"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "GYRODESK.EXE"},
    {"ProductName", "GYRODESK Application"},
    {"ProductVersion", "1, 0, 0, 1"},
};

constexpr VersionRecord kVersion{
    {1, 0, 0, 1}, {1, 0, 0, 1}, "application for 32-bit Windows", "040904B0", kStrings,
};

}  // namespace

const VersionRecord& Version() { return kVersion; }

}  // namespace gyrodesk
