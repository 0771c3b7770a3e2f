// Message numbers, notification codes, styles and the other numeric values that the dialog
// templates and the console's handlers use. The values are those of the Win32 interface, so
// templates written for it keep their meaning here.
#pragma once

#include <afx/Types.h>

// ---- Dialog results and well-known control ids ------------------------------------------
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr UINT IDC_STATIC = 65535;  // a control that is never addressed (-1 as a WORD)

// ---- Window messages --------------------------------------------------------------------
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_ICONERASEBKGND = 0x0027;
inline constexpr UINT WM_QUERYDRAGICON = 0x0037;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_USER = 0x0400;

// ---- Button messages, states and notifications ------------------------------------------
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr UINT BST_UNCHECKED = 0;
inline constexpr UINT BST_CHECKED = 1;
inline constexpr UINT BN_CLICKED = 0;

// ---- Edit notifications -----------------------------------------------------------------
inline constexpr UINT EN_CHANGE = 0x0300;

// ---- Up-down control messages -----------------------------------------------------------
inline constexpr UINT UDM_SETRANGE = WM_USER + 101;  // lParam: MAKELONG(upper, lower)
inline constexpr UINT UDM_GETRANGE = WM_USER + 102;
inline constexpr UINT UDM_SETPOS = WM_USER + 103;  // lParam: MAKELONG(position, 0)
inline constexpr UINT UDM_GETPOS = WM_USER + 104;
inline constexpr UINT UDM_GETBUDDY = WM_USER + 106;
inline constexpr UINT UDM_SETACCEL = WM_USER + 107;  // wParam: count, lParam: const UDACCEL*
inline constexpr UINT UDM_GETACCEL = WM_USER + 108;

// One acceleration step: after the arrow has been held nSec seconds, each step is nInc.
struct UDACCEL {
    UINT nSec;
    UINT nInc;
};

// ---- Window styles ----------------------------------------------------------------------
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;   // on a window: a sizing frame
inline constexpr DWORD WS_GROUP = 0x00020000;        // on a control: first of a group
inline constexpr DWORD WS_TABSTOP = 0x00010000;      // on a control: reached by Tab
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;  // on a window: has a minimise box
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;  // on a window: has a maximise box
// A window with a caption, system menu, sizing frame and minimise and maximise boxes.
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// ---- Dialog styles ----------------------------------------------------------------------
inline constexpr DWORD DS_3DLOOK = 0x0004;
inline constexpr DWORD DS_SETFONT = 0x0040;
inline constexpr DWORD DS_MODALFRAME = 0x0080;

// ---- Button styles (the low four bits are the button's type) ----------------------------
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_GROUPBOX = 0x0007;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
inline constexpr DWORD BS_TYPEMASK = 0x000F;

// ---- Static styles (the low five bits are the static's type) ----------------------------
inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
inline constexpr DWORD SS_BITMAP = 0x000E;
inline constexpr DWORD SS_TYPEMASK = 0x001F;
inline constexpr DWORD SS_SUNKEN = 0x1000;

// ---- Edit styles ------------------------------------------------------------------------
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;

// ---- Up-down styles ---------------------------------------------------------------------
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;
inline constexpr DWORD UDS_ARROWKEYS = 0x0020;

// ---- System commands (the low four bits are the platform's own) -------------------------
inline constexpr UINT SC_MOVE = 0xF010;
inline constexpr UINT SC_MINIMIZE = 0xF020;
inline constexpr UINT SC_CLOSE = 0xF060;
inline constexpr UINT SC_RESTORE = 0xF120;

// ---- Menu item flags --------------------------------------------------------------------
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_SEPARATOR = 0x0800;

// ---- System metrics ---------------------------------------------------------------------
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;

// ---- Raster operation -------------------------------------------------------------------
inline constexpr DWORD SRCCOPY = 0x00CC0020;

// ---- Message box flags ------------------------------------------------------------------
inline constexpr UINT MB_OK = 0x0000;
inline constexpr UINT MB_OKCANCEL = 0x0001;
inline constexpr UINT MB_YESNO = 0x0004;
inline constexpr UINT MB_TYPEMASK = 0x000F;
inline constexpr UINT MB_ICONHAND = 0x0010;
inline constexpr UINT MB_ICONQUESTION = 0x0020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x0030;
inline constexpr UINT MB_ICONASTERISK = 0x0040;
inline constexpr UINT MB_ICONMASK = 0x00F0;

// ---- ShowWindow commands ----------------------------------------------------------------
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_RESTORE = 9;
