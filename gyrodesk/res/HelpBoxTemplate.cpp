// Template IDD_HELP: the Help Me! box, which holds nothing but its OK button.
#include "Templates.h"

#include "resource.h"

namespace gyrodesk {

namespace {

// The templates are laid out by hand: one control a line, as a resource script reads.
// clang-format off
constexpr afx::DialogItemTemplate kItems[] = {
    {IDOK, afx::ControlClass::Button, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 102, 215, 50, 14},
};

}  // namespace

const afx::DialogTemplate kHelpBoxTemplate{
    IDD_HELP,
    "Dialog",
    "MS Sans Serif",
    8,
    0, 0, 254, 238,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    kItems,
};
// clang-format on

}  // namespace gyrodesk
