// Template IDD_ABOUTBOX: the About box, with the maker's details beside the logo.
#include "Templates.h"

#include "resource.h"

namespace gyrodesk {

namespace {

using afx::ControlClass;
using afx::DialogItemTemplate;

constexpr afx::UINT kStatic = IDC_STATIC;
constexpr afx::DWORD kText = WS_GROUP | SS_LEFT;

// The templates are laid out by hand: one control a line, as a resource script reads.
// clang-format off
constexpr DialogItemTemplate kItems[] = {
    {kStatic, ControlClass::Static, "Gyrodesk Ver 1.0", kText, 131, 12, 61, 8},
    {kStatic, ControlClass::Static, "Copyright \xC2\xA9 1996", kText, 131, 39, 62, 8},
    {IDOK, ControlClass::Button, "OK", WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 190, 69, 42, 13},
    {kStatic, ControlClass::Static, "By T. Marrowby", kText, 131, 30, 67, 8},
    {kStatic, ControlClass::Static, "Brellamoor Sensorworks", kText, 17, 45, 90, 8},
    {kStatic, ControlClass::Static, "14 Larkspur Yard, Suite 3", kText, 17, 54, 94, 8},
    {kStatic, ControlClass::Static, "Fenbury, NV 89999", kText, 17, 63, 69, 8},
    {kStatic, ControlClass::Static, "#133", SS_BITMAP, 17, 7, 84, 33},
    {kStatic, ControlClass::Static, "(555) 555-0144 Voice  555-0145 Fax", kText, 17, 76, 138, 8},
    {kStatic, ControlClass::Static, "Korvisor Tracking Module", kText, 131, 21, 95, 8},
};

}  // namespace

const afx::DialogTemplate kAboutBoxTemplate{
    IDD_ABOUTBOX,
    "About Gyrodesk",
    "Arial",
    8,
    34, 22, 243, 88,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    kItems,
};
// clang-format on

}  // namespace gyrodesk
