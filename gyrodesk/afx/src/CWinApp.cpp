#include <afx/CWinApp.h>

#include <filesystem>

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

#include <afx/Fonts.h>
#include <afx/Resources.h>

namespace {
CWinApp* theApp = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

// Constructed during static initialisation; touches nothing of Qt.
CWinApp::CWinApp(const char* appName) {
    if (appName) m_appName = appName;
    m_pszAppName = appName ? m_appName.c_str() : nullptr;
    theApp = this;
}

CWinApp::~CWinApp() {
    if (theApp == this) theApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    QApplication::exec();
    return ExitInstance();
}

int CWinApp::ExitInstance() { return 0; }

BOOL CWinApp::Enable3dControls() {
    QStyle* style = QStyleFactory::create("Windows");
    if (!style) return FALSE;
    QApplication::setStyle(style);  // the application owns it
    return TRUE;
}

void CWinApp::LoadStdProfileSettings(UINT) {}

HICON CWinApp::LoadIcon(UINT id) const { return afx::LoadIconResource(id); }

void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return theApp; }

CWnd* AfxGetMainWnd() { return theApp ? theApp->m_pMainWnd : nullptr; }

namespace afx {
void InitApplication() { QApplication::setFont(MapTemplateFont("MS Sans Serif", 8)); }
}  // namespace afx

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    // The QApplication lives for the whole run: a program may end with exit() from inside
    // InitInstance, and the application object is destroyed only at process exit.
    static int qtArgc = argc;
    static QApplication qt(qtArgc, argv);
    if (!app->m_pszAppName) {
        app->m_appName = std::filesystem::path(argc > 0 && argv[0] ? argv[0] : "app").filename().string();
        app->m_pszAppName = app->m_appName.c_str();
    }
    QApplication::setApplicationName(QString::fromUtf8(app->m_pszAppName));
    afx::InitApplication();
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
