// A small program on the layer's entry, run by the tests for its exit status. Its first
// argument picks how it ends:
//   false  InitInstance returns FALSE; ExitInstance returns 7
//   exit   runs a dialog until it ends with IDOK, then exit(1) from inside InitInstance
//   cancel runs a dialog until it ends with IDCANCEL, then returns FALSE (status 7)
#include <cstdlib>
#include <cstring>

#include <QTimer>

#include <afx/Afx.h>

namespace {

constexpr afx::DialogItemTemplate kItems[] = {
    {IDOK, afx::ControlClass::Button, "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 10, 40, 14},
};
const afx::DialogTemplate kDialogs[] = {
    {1, "Probe", "MS Sans Serif", 8, 0, 0, 100, 50, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT,
     kItems},
};

int initCalls = 0;

class ProbeApp : public CWinApp {
public:
    BOOL InitInstance() override {
        if (++initCalls != 1) std::exit(99);
        Enable3dControls();
        LoadStdProfileSettings(4);
        const char* mode = std::getenv("AFX_PROBE_MODE");
        if (!mode || std::strcmp(mode, "false") == 0) return FALSE;
        AfxSetResourceTable({kDialogs, {}, {}, {}});
        CDialog dialog(1);
        m_pMainWnd = &dialog;
        const int wanted = std::strcmp(mode, "exit") == 0 ? IDOK : IDCANCEL;
        QTimer::singleShot(50, [&] { dialog.EndDialog(wanted); });
        if (dialog.DoModal() == IDOK) std::exit(1);
        return FALSE;
    }
    int ExitInstance() override { return CWinApp::ExitInstance() + 7; }
};

ProbeApp theApp;

}  // namespace

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
