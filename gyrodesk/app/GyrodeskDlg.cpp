#include "GyrodeskDlg.h"

#include "AboutDlg.h"
#include "HelpDlg.h"
#include "resource.h"

namespace {

// Client area of the template at 1.5 x 1.625 pixels per dialog unit; a larger window gets the
// large logo.
constexpr int kTemplateClientWidth = 429;
constexpr int kTemplateClientHeight = 354;

struct Logo {
    UINT bitmapId;
    int x, y, width, height;  // destination and block, client pixels
};
constexpr Logo kLargeLogo{IDB_LOGO_LARGE, 29, 145, 167, 66};
constexpr Logo kSmallLogo{IDB_LOGO_SMALL, 25, 118, 128, 55};

}  // namespace

CGyrodeskDlg::CGyrodeskDlg(CWnd* pParent) : CDialog(IDD_GYRODESK_DIALOG, pParent) {
    iconHandle = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CGyrodeskDlg::~CGyrodeskDlg() = default;

void CGyrodeskDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BEGIN_MESSAGE_MAP(CGyrodeskDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_ABOUT, OnAbout)
    ON_BN_CLICKED(IDC_HELP_ME, OnHelpMe)
    ON_BN_CLICKED(IDC_POLL, OnPoll)
    ON_BN_CLICKED(IDC_19200, On19200)
    ON_BN_CLICKED(IDC_9600, On9600)
    ON_BN_CLICKED(IDC_AVERAGING_OFF, OnAveragingOff)
    ON_BN_CLICKED(IDC_AVERAGING_ON, OnAveragingOn)
    ON_BN_CLICKED(IDC_CHECKSUM_OFF, OnChecksumOff)
    ON_BN_CLICKED(IDC_CHECKSUM_ON, OnChecksumOn)
    ON_BN_CLICKED(IDC_COM1, OnCom1)
    ON_BN_CLICKED(IDC_COM2, OnCom2)
    ON_BN_CLICKED(IDC_COM3, OnCom3)
    ON_BN_CLICKED(IDC_COM4, OnCom4)
    ON_BN_CLICKED(IDC_RESET, OnReset)
    ON_BN_CLICKED(IDC_HYSTERESIS_OFF, OnHysteresisOff)
    ON_BN_CLICKED(IDC_HYSTERESIS_ON, OnHysteresisOn)
    ON_BN_CLICKED(IDC_ASCII, OnAscii)
    ON_BN_CLICKED(IDC_BINARY, OnBinary)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_CONTINUOUS, OnContinuous)
    ON_BN_CLICKED(IDC_UPON_REQUEST, OnUponRequest)
    ON_BN_CLICKED(IDC_START, OnStart)
    ON_BN_CLICKED(IDC_STOP, OnStop)
    ON_BN_CLICKED(IDOK, OnExit)
    ON_EN_CHANGE(IDC_RATE_EDIT, OnChangeRateEdit)
END_MESSAGE_MAP()

BOOL CGyrodeskDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CenterWindow();

    // The About item at the end of the system menu.
    if (CMenu* sysMenu = GetSystemMenu(FALSE)) {
        CString aboutText;
        aboutText.LoadString(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty()) {
            sysMenu->AppendMenu(MF_SEPARATOR);
            sysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
        // The live plot's item follows it (after a separator of its own when there is none).
        CString plotText;
        plotText.LoadString(IDS_LIVEPLOT);
        if (!plotText.IsEmpty()) {
            if (aboutText.IsEmpty()) sysMenu->AppendMenu(MF_SEPARATOR);
            sysMenu->AppendMenu(MF_STRING, IDM_LIVEPLOT, plotText);
        }
    }

    CheckDefaultRadios();

    // Rate control: 5 to 75 in steps of 5.
    SendDlgItemMessage(IDC_RATE_SPIN, UDM_SETRANGE, 0, MAKELONG(75, 5));
    UDACCEL accel{0, 5};
    SendDlgItemMessage(IDC_RATE_SPIN, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));

    // The edit's change notification passes the rate to the link now, before any port is open.
    SetDlgItemText(IDC_RATE_EDIT, kDefaultRate);

    // Find the tracker; the link shows its own warning when there is none.
    const int port = link.AutoDetectComPort();
    if (port >= 1 && port <= 4) {
        CheckRadioButton(IDC_COM1, IDC_COM4, IDC_COM1 + port - 1);
        const char* version = link.Get_Version();
        SetDlgItemText(IDC_VERSION, version ? version : "");
    }

    // Start and Stop wait for Continuous.
    GetDlgItem(IDC_STOP)->EnableWindow(FALSE);
    GetDlgItem(IDC_START)->EnableWindow(FALSE);

    timerId = 1;
    // The plot opens once the dialog runs, from its own loop, as the menu item would open it.
    if (openPlotAtStart) PostMessage(WM_SYSCOMMAND, IDM_LIVEPLOT, 0);
    return TRUE;  // focus to the first tab stop, Poll
}

// The radio groups' defaults, at start-up and after Reset: only shown, nothing is sent.
void CGyrodeskDlg::CheckDefaultRadios() {
    CheckRadioButton(IDC_ASCII, IDC_BINARY, IDC_BINARY);
    CheckRadioButton(IDC_CHECKSUM_ON, IDC_CHECKSUM_OFF, IDC_CHECKSUM_OFF);
    CheckRadioButton(IDC_UPON_REQUEST, IDC_CONTINUOUS, IDC_UPON_REQUEST);
    CheckRadioButton(IDC_AVERAGING_ON, IDC_AVERAGING_OFF, IDC_AVERAGING_ON);
    CheckRadioButton(IDC_HYSTERESIS_ON, IDC_HYSTERESIS_OFF, IDC_HYSTERESIS_OFF);
    CheckRadioButton(IDC_9600, IDC_19200, IDC_9600);
}

void CGyrodeskDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else if ((nID & 0xFFF0) == IDM_LIVEPLOT) {
        livePlot_.Open(this);
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CGyrodeskDlg::OnPaint() {
    CRect rect;
    GetClientRect(&rect);
    const int width = rect.Width();
    const int height = rect.Height();

    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        dc.DrawIcon(width - (cxIcon + 1) / 2, height - (cyIcon + 1) / 2, iconHandle);
        return;
    }

    CPaintDC dc(this);
    CBitmap bitmap;
    CDC memDC;
    const Logo& logo =
        (width > kTemplateClientWidth || height > kTemplateClientHeight) ? kLargeLogo : kSmallLogo;
    bitmap.LoadBitmap(logo.bitmapId);
    memDC.CreateCompatibleDC(&dc);
    CBitmap* previous = memDC.SelectObject(&bitmap);
    dc.BitBlt(logo.x, logo.y, logo.width, logo.height, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(previous);
    memDC.DeleteDC();
    bitmap.DeleteObject();
}

HCURSOR CGyrodeskDlg::OnQueryDragIcon() { return iconHandle; }

void CGyrodeskDlg::OnAbout() {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
}

void CGyrodeskDlg::OnHelpMe() {
    CHelpDlg dlgHelp;
    dlgHelp.DoModal();
}
