#include "GyrodeskApp.h"

#include <cstdlib>
#include <string>

#include "GyrodeskDlg.h"

CGyrodeskApp::CGyrodeskApp() : CWinApp(nullptr) {}

BEGIN_MESSAGE_MAP(CGyrodeskApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CGyrodeskApp::InitInstance() {
    Enable3dControls();
    LoadStdProfileSettings(4);

    CGyrodeskDlg dlg;
    for (const std::string& argument : GetArguments())
        if (argument == "--plot") dlg.openPlotAtStart = true;
    m_pMainWnd = &dlg;
    const int nResponse = dlg.DoModal();
    if (nResponse == IDOK) {
        // Exit has closed the port already; the dialog is not destroyed on this path.
        std::exit(1);
    }
    // Esc, the close box or a dialog that could not be made: no message loop runs, and the
    // program ends with ExitInstance's value.
    return FALSE;
}

int CGyrodeskApp::ExitInstance() { return CWinApp::ExitInstance(); }
