#include <afx/CWinApp.h>

#include <algorithm>
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
    // The QApplication lives until AfxWinMain returns. A program that ends with exit() from
    // inside InitInstance leaves it alive (held here) while the runtime's exit handlers run.
    static int qtArgc = argc;
    static QApplication* qt = nullptr;
    qt = new QApplication(qtArgc, argv);
    struct DeleteAtReturn {
        ~DeleteAtReturn() {
            delete qt;
            qt = nullptr;
        }
    } deleteAtReturn;
    if (!app->m_pszAppName) {
        app->m_appName =
            std::filesystem::path(argc > 0 && argv[0] ? argv[0] : "app").filename().string();
        app->m_pszAppName = app->m_appName.c_str();
    }
    // QApplication has taken its own options out of argv and counted the rest in qtArgc.
    app->m_arguments.assign(argv + std::min(qtArgc, 1), argv + qtArgc);
    QApplication::setApplicationName(QString::fromUtf8(app->m_pszAppName));
    afx::InitApplication();
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}
