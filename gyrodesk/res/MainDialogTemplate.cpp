// Template IDD_GYRODESK_DIALOG: the main dialog and its 47 controls, in tab order.
#include "Templates.h"

#include "resource.h"

namespace gyrodesk {

namespace {

using afx::ControlClass;
using afx::DialogItemTemplate;

constexpr afx::UINT kStatic = IDC_STATIC;
constexpr afx::DWORD kPush = WS_TABSTOP | BS_PUSHBUTTON;
constexpr afx::DWORD kRadio = BS_AUTORADIOBUTTON;
constexpr afx::DWORD kSunken = WS_GROUP | SS_SUNKEN;

// The templates are laid out by hand: one control a line, as a resource script reads.
// clang-format off
constexpr DialogItemTemplate kItems[] = {
    {IDC_POLL, ControlClass::Button, "Poll", kPush, 13, 111, 41, 14},
    {IDC_RESET, ControlClass::Button, "Reset", kPush, 59, 111, 40, 14},
    {IDC_START, ControlClass::Button, "Start", kPush, 13, 130, 41, 13},
    {IDC_STOP, ControlClass::Button, "Stop", WS_GROUP | kPush, 59, 130, 40, 13},
    {kStatic, ControlClass::Button, "Port Speed", BS_GROUPBOX, 13, 147, 86, 26},
    {IDC_9600, ControlClass::Button, "9600", WS_GROUP | kRadio, 20, 157, 35, 10},
    {IDC_19200, ControlClass::Button, "19200", kRadio, 62, 157, 35, 10},
    {kStatic, ControlClass::Button, "Transfer Mode", BS_GROUPBOX, 109, 6, 79, 28},
    {IDC_ASCII, ControlClass::Button, "ASCII", WS_GROUP | WS_TABSTOP | kRadio, 113, 17, 29, 10},
    {IDC_BINARY, ControlClass::Button, "Binary", WS_TABSTOP | kRadio, 149, 17, 33, 10},
    {kStatic, ControlClass::Button, "Checksum Mode", BS_GROUPBOX, 194, 6, 80, 28},
    {IDC_CHECKSUM_ON, ControlClass::Button, "On", WS_GROUP | WS_TABSTOP | kRadio, 211, 17, 26, 10},
    {IDC_CHECKSUM_OFF, ControlClass::Button, "Off", WS_TABSTOP | kRadio, 245, 17, 24, 10},
    {kStatic, ControlClass::Button, "Sampling Mode", BS_GROUPBOX, 109, 39, 165, 28},
    {IDC_UPON_REQUEST, ControlClass::Button, "Upon Request", WS_GROUP | WS_TABSTOP | kRadio, 119, 51, 66, 10},
    {IDC_CONTINUOUS, ControlClass::Button, "Continuous", WS_TABSTOP | kRadio, 207, 51, 52, 10},
    {kStatic, ControlClass::Button, "Averaging Filter", BS_GROUPBOX, 110, 73, 79, 28},
    {IDC_AVERAGING_ON, ControlClass::Button, "On", WS_GROUP | WS_TABSTOP | kRadio, 119, 85, 26, 10},
    {IDC_AVERAGING_OFF, ControlClass::Button, "Off", WS_TABSTOP | kRadio, 155, 85, 29, 10},
    {kStatic, ControlClass::Button, "Hysteresis Filter", BS_GROUPBOX, 195, 73, 79, 28},
    {IDC_HYSTERESIS_ON, ControlClass::Button, "On", WS_GROUP | WS_TABSTOP | kRadio, 209, 85, 26, 10},
    {IDC_HYSTERESIS_OFF, ControlClass::Button, "Off", WS_TABSTOP | kRadio, 245, 85, 23, 10},
    {kStatic, ControlClass::Button, "COM Port", BS_GROUPBOX, 110, 107, 80, 35},
    {IDC_COM1, ControlClass::Button, "Com1", WS_GROUP | WS_TABSTOP | kRadio, 115, 117, 35, 10},
    {IDC_COM2, ControlClass::Button, "Com2", WS_TABSTOP | kRadio, 115, 128, 30, 10},
    {IDC_COM3, ControlClass::Button, "Com3", WS_TABSTOP | kRadio, 153, 117, 31, 9},
    {IDC_COM4, ControlClass::Button, "Com4", WS_TABSTOP | kRadio, 153, 128, 32, 10},
    {kStatic, ControlClass::Button, "Sampling Rate", BS_GROUPBOX, 195, 107, 79, 35},
    {IDC_RATE_EDIT, ControlClass::Edit, "",
     WS_BORDER | ES_READONLY | ES_UPPERCASE | ES_AUTOHSCROLL | ES_NOHIDESEL, 217, 120, 19, 12},
    {IDC_RATE_SPIN, ControlClass::UpDown, "Spin1",
     WS_TABSTOP | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_SETBUDDYINT, 245, 116, 17, 18},
    {kStatic, ControlClass::Button, "Last Command", BS_GROUPBOX, 110, 147, 164, 26},
    {IDC_STATUS_LABEL, ControlClass::Static, "Status", SS_LEFT, 118, 158, 23, 8},
    {IDC_STATUS, ControlClass::Static, "", kSunken | SS_LEFT, 144, 157, 124, 10},
    {IDC_ABOUT, ControlClass::Button, "About Us", kPush, 127, 196, 41, 14},
    {IDC_HELP_ME, ControlClass::Button, "Help Me!", kPush, 181, 196, 40, 14},
    {IDOK, ControlClass::Button, "Exit", WS_TABSTOP | BS_DEFPUSHBUTTON, 235, 196, 40, 14},
    {kStatic, ControlClass::Static, "Korvisor Version", WS_GROUP | SS_LEFT, 11, 200, 64, 9},
    {IDC_VERSION, ControlClass::Static, "", kSunken | SS_CENTER, 78, 199, 33, 10},
    {IDC_PORT_OUTPUT_LABEL, ControlClass::Static, "Port Output", WS_GROUP | SS_LEFTNOWORDWRAP, 13, 180, 40, 10},
    {IDC_PORT_OUTPUT, ControlClass::Static, "", kSunken | SS_LEFT, 55, 179, 218, 10},
    {kStatic, ControlClass::Button, "Orientation", BS_GROUPBOX, 13, 6, 86, 61},
    {kStatic, ControlClass::Static, "Pitch (X)", WS_GROUP | SS_LEFT, 21, 19, 27, 8},
    {kStatic, ControlClass::Static, "Yaw  (Y)", WS_GROUP | SS_LEFT, 21, 34, 28, 8},
    {kStatic, ControlClass::Static, "Roll   (Z)", WS_GROUP | SS_LEFT, 21, 49, 28, 8},
    {IDC_PITCH, ControlClass::Static, "", kSunken | SS_CENTER, 55, 18, 33, 10},
    {IDC_YAW, ControlClass::Static, "", kSunken | SS_CENTER, 55, 33, 33, 10},
    {IDC_ROLL, ControlClass::Static, "", kSunken | SS_CENTER, 55, 49, 33, 10},
};

static_assert(std::size(kItems) == 47);

}  // namespace

const afx::DialogTemplate kMainDialogTemplate{
    IDD_GYRODESK_DIALOG,
    "Gyrodesk",
    "MS Sans Serif",
    8,
    0, 0, 286, 218,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT |
        DS_3DLOOK,
    kItems,
};
// clang-format on

}  // namespace gyrodesk
