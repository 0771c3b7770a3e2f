// CWinApp: the application object. A program defines one static object of a class derived from
// it and calls AfxWinMain from main:
//
//   CMyApp theApp;
//   int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
//
// AfxWinMain creates the QApplication, calls InitInstance once and, when that returns FALSE,
// ends with ExitInstance's value (no event loop runs); when it returns TRUE, runs the event loop
// (Run) and then ends with ExitInstance's value. A program may also end with exit() from
// inside InitInstance.
#pragma once

#include <string>
#include <vector>

#include <afx/CWnd.h>

inline constexpr UINT ID_HELP = 0xE146;

class CWinApp : public CCmdTarget {
public:
    // appName null: the application is named after the program file.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // The period look of 3D controls: Qt's built-in "Windows" style. TRUE when it is in use.
    BOOL Enable3dControls();
    // Loads the standard profile settings: the console keeps none, so this reads and writes
    // nothing.
    void LoadStdProfileSettings(UINT maxMru = 4);
    // The icon group id from the resource table (null when missing). Kept for the whole run.
    HICON LoadIcon(UINT id) const;

    // The application's help command: there is no help file, so it does nothing.
    void OnHelp();

    // The program's command-line arguments after its name, without those Qt takes for itself
    // (-platform and the like); set by AfxWinMain before InitInstance.
    const std::vector<std::string>& GetArguments() const { return m_arguments; }

    CWnd* m_pMainWnd = nullptr;
    const char* m_pszAppName = nullptr;  // set by AfxWinMain

    DECLARE_MESSAGE_MAP()

private:
    friend int AfxWinMain(int argc, char** argv);
    std::string m_appName;
    std::vector<std::string> m_arguments;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's entry: see above. Returns the process's exit status.
int AfxWinMain(int argc, char** argv);

namespace afx {
// What AfxWinMain sets up once the QApplication exists: the application's default font (the
// stand-in for the system's dialog font). Test programs call it after creating theirs.
void InitApplication();
}  // namespace afx
