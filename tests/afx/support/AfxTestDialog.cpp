#include "AfxTestDialog.h"

#include <algorithm>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace afxtest {

namespace {

constexpr DWORD kProbeStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

using afx::ControlClass;
using afx::DialogItemTemplate;

constexpr DialogItemTemplate kProbeItems[] = {
    {IDC_APPLY, ControlClass::Button, "Apply", WS_TABSTOP | BS_PUSHBUTTON, 5, 5, 40, 14},
    {IDC_OTHER, ControlClass::Button, "Other", WS_TABSTOP | BS_PUSHBUTTON, 50, 5, 40, 14},
    {IDC_STATIC, ControlClass::Button, "Mode", BS_GROUPBOX, 5, 22, 90, 40},
    {IDC_ALPHA, ControlClass::Button, "Alpha", WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 10, 32,
     35, 10},
    {IDC_BETA, ControlClass::Button, "Beta", WS_TABSTOP | BS_AUTORADIOBUTTON, 50, 32, 35, 10},
    {IDC_GAMMA, ControlClass::Button, "Gamma", BS_AUTORADIOBUTTON, 10, 45, 40, 10},
    {IDC_ONE, ControlClass::Button, "One", WS_GROUP | BS_AUTORADIOBUTTON, 100, 32, 30, 10},
    {IDC_TWO, ControlClass::Button, "Two", BS_AUTORADIOBUTTON, 100, 45, 30, 10},
    {IDC_LABEL, ControlClass::Static, "Label", WS_GROUP | SS_LEFT, 100, 5, 40, 8},
    {IDC_RATE, ControlClass::Edit, "", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL, 100, 60, 20, 12},
    {IDC_SPIN, ControlClass::UpDown, "Spin1",
     WS_TABSTOP | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_SETBUDDYINT, 125, 58, 12, 16},
    {IDC_OUTPUT, ControlClass::Static, "", WS_GROUP | SS_LEFT | SS_SUNKEN, 5, 70, 60, 10},
    {IDOK, ControlClass::Button, "OK", WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 100, 100, 40, 14},
    {IDCANCEL, ControlClass::Button, "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 150, 100, 40, 14},
    {IDC_PICTURE, ControlClass::Static, "#900", SS_BITMAP, 5, 85, 10, 5},
    {IDC_NAME, ControlClass::Edit, "", WS_GROUP | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 30, 85,
     40, 12},
};

constexpr DialogItemTemplate kSizedItems[] = {
    {IDOK, ControlClass::Button, "Exit", WS_TABSTOP | BS_DEFPUSHBUTTON, 13, 111, 41, 14},
};

const afx::DialogTemplate kDialogs[] = {
    {IDD_PROBE, "Probe", "MS Sans Serif", 8, 0, 0, 200, 120, kProbeStyle | WS_MINIMIZEBOX,
     kProbeItems},
    {IDD_PROBE_NOMIN, "Probe", "MS Sans Serif", 8, 0, 0, 200, 120, kProbeStyle, kProbeItems},
    {IDD_SIZED, "Sized", "MS Sans Serif", 8, 0, 0, 286, 218, kProbeStyle | WS_VISIBLE, kSizedItems},
};

const afx::StringResource kStrings[] = {{IDS_PROBE, "&Probe item..."}};

struct Images {
    QTemporaryDir dir;
    std::string picture, picture2, icon;
    afx::BitmapResource bitmaps[2];
    afx::IconResource icons[1];
};

Images& ProbeImages() {
    static Images images = [] {
        Images i;
        auto save = [&](const char* name, int w, int h, QColor color) {
            QImage image(w, h, QImage::Format_RGB32);
            image.fill(color);
            const QString path = QDir(i.dir.path()).filePath(name);
            image.save(path);
            return path.toStdString();
        };
        i.picture = save("picture.bmp", 20, 10, Qt::blue);
        i.picture2 = save("picture2.bmp", 30, 20, Qt::green);
        i.icon = save("icon.png", 32, 32, Qt::red);
        return i;
    }();
    return images;
}

}  // namespace

void RegisterProbeResources() {
    Images& images = ProbeImages();
    images.bitmaps[0] = {IDB_PICTURE, images.picture.c_str()};
    images.bitmaps[1] = {IDB_PICTURE2, images.picture2.c_str()};
    images.icons[0] = {IDI_PROBE, images.icon.c_str()};
    AfxSetResourceTable({kDialogs, images.bitmaps, images.icons, kStrings});
}

bool RecordingDialog::Has(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
}

int RecordingDialog::Count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

BEGIN_MESSAGE_MAP(RecordingDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_APPLY, OnApply)
    ON_BN_CLICKED(IDC_ALPHA, OnAlpha)
    ON_BN_CLICKED(IDC_BETA, OnBeta)
    ON_BN_CLICKED(IDC_ONE, OnOne)
    ON_EN_CHANGE(IDC_RATE, OnRateChange)
    ON_EN_CHANGE(IDC_NAME, OnNameChange)
END_MESSAGE_MAP()

BOOL RecordingDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    visibleAtInit = IsWindowVisible();
    Log("init");
    if (onInit) onInit(*this);
    return TRUE;
}

std::string RecordingDialog::RadioState() const {
    std::string s;
    for (int id : {IDC_ALPHA, IDC_BETA, IDC_GAMMA, IDC_ONE, IDC_TWO})
        s += IsDlgButtonChecked(id) == BST_CHECKED ? '1' : '0';
    return s;
}

void RecordingDialog::OnApply() { Log("apply"); }
void RecordingDialog::OnOther() { Log("other"); }
void RecordingDialog::OnAlpha() { Log("alpha " + RadioState()); }
void RecordingDialog::OnBeta() { Log("beta " + RadioState()); }
void RecordingDialog::OnGamma() { Log("gamma"); }
void RecordingDialog::OnOne() { Log("one " + RadioState()); }

void RecordingDialog::OnRateChange() {
    CString text;
    GetDlgItemText(IDC_RATE, text);
    Log(std::string("change ") + static_cast<const char*>(text));
}

void RecordingDialog::OnNameChange() {
    CString text;
    GetDlgItemText(IDC_NAME, text);
    Log(std::string("name ") + static_cast<const char*>(text));
}

void RecordingDialog::OnTimer(UINT id) {
    Log("timer " + std::to_string(id));
    if (onTimer) onTimer(*this, id);
    CDialog::OnTimer(id);
}

void RecordingDialog::OnSysCommand(UINT id, LPARAM lParam) {
    Log("syscommand " + std::to_string(id));
    if (onSysCommand && onSysCommand(*this, id)) return;
    CDialog::OnSysCommand(id, lParam);
}

void RecordingDialog::OnPaint() {
    ++paints;
    CPaintDC dc(this);
    if (onPaint) onPaint(*this, dc);
}

void RecordingDialog::OnOK() {
    Log("ok");
    CDialog::OnOK();
}

}  // namespace afxtest
