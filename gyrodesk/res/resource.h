// Resource ids of Gyrodesk: dialogs, icon, bitmaps, strings, the system-menu item and the
// controls of the three dialogs. IDOK, IDCANCEL and IDC_STATIC (65535) are the platform's.
#pragma once

// Dialogs, icon, bitmaps, strings
#define IDD_ABOUTBOX        100
#define IDS_ABOUTBOX        101
#define IDD_GYRODESK_DIALOG 102
#define IDS_LIVEPLOT        103
#define IDR_MAINFRAME       128
#define IDD_HELP            129
#define IDB_LOGO_LARGE      133
#define IDB_LOGO_SMALL      134

// System-menu commands of the About and Live Plot items
#define IDM_ABOUTBOX 0x0010
#define IDM_LIVEPLOT 0x0020

// Controls of the main dialog
#define IDC_PITCH             1008
#define IDC_YAW               1009
#define IDC_ROLL              1010
#define IDC_RESET             1015
#define IDC_VERSION           1016
#define IDC_RATE_SPIN         1026
#define IDC_ABOUT             1028
#define IDC_COM1              1029
#define IDC_COM2              1030
#define IDC_COM3              1031
#define IDC_COM4              1032
#define IDC_STOP              1033
#define IDC_START             1034
#define IDC_ASCII             1035
#define IDC_BINARY            1036
#define IDC_CHECKSUM_ON       1037
#define IDC_CHECKSUM_OFF      1038
#define IDC_UPON_REQUEST      1039
#define IDC_CONTINUOUS        1040
#define IDC_AVERAGING_ON      1041
#define IDC_AVERAGING_OFF     1042
#define IDC_HYSTERESIS_ON     1043
#define IDC_HYSTERESIS_OFF    1044
#define IDC_POLL              1046
#define IDC_PORT_OUTPUT       1047
#define IDC_HELP_ME           1048
#define IDC_PORT_OUTPUT_LABEL 1052
#define IDC_9600              1053
#define IDC_19200             1054
#define IDC_STATUS            1055
#define IDC_STATUS_LABEL      1056
#define IDC_RATE_EDIT         1061
