// gyrodesk-render DIR: saves pictures of Gyrodesk's three dialogs as PNG files in DIR
// (gyrodesk-main.png, gyrodesk-about.png, gyrodesk-help.png). The main dialog finds the
// tracker as the program does, on the ports that VEXLINK_COM1..4 name; the link's warnings go
// to standard error instead of a box, so that nothing waits for a user.
#include <cstdio>
#include <string>

#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <afx/Afx.h>

#include "AboutDlg.h"
#include "GyrodeskDlg.h"
#include "HelpDlg.h"
#include "Templates.h"

namespace {

std::string g_outDir;
int g_status = 0;

bool Save(CDialog& dialog, const char* name) {
    QWidget* widget = dialog.GetSafeQWidget();
    const QString path = QDir(QString::fromStdString(g_outDir)).filePath(name);
    if (!widget || !widget->grab().save(path, "PNG")) {
        std::fprintf(stderr, "gyrodesk-render: cannot save %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

template <class Dialog>
bool Render(const char* name) {
    Dialog dialog;
    if (!dialog.Create(dialog.GetTemplateId())) {
        std::fprintf(stderr, "gyrodesk-render: cannot create the dialog for %s\n", name);
        return false;
    }
    const bool saved = Save(dialog, name);
    dialog.DestroyWindow();
    return saved;
}

class CRenderApp : public CWinApp {
public:
    BOOL InitInstance() override {
        Enable3dControls();
        const bool ok = Render<CGyrodeskDlg>("gyrodesk-main.png") &&
                        Render<CAboutDlg>("gyrodesk-about.png") &&
                        Render<CHelpDlg>("gyrodesk-help.png");
        g_status = ok ? 0 : 1;
        return FALSE;
    }
    int ExitInstance() override { return g_status; }
};

CRenderApp theApp;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gyrodesk-render DIR\n");
        return 2;
    }
    g_outDir = argv[1];
    if (!QDir().mkpath(QString::fromStdString(g_outDir))) {
        std::fprintf(stderr, "gyrodesk-render: cannot create %s\n", argv[1]);
        return 1;
    }
    AfxSetResourceTable(gyrodesk::Resources());
    return AfxWinMain(argc, argv);
}
