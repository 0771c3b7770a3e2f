// gyrodesk-render [--poll] DIR: saves pictures of Gyrodesk's three dialogs as PNG files in DIR
// (gyrodesk-main.png, gyrodesk-about.png, gyrodesk-help.png). The main dialog finds the
// tracker as the program does, on the ports that VEXLINK_COM1..4 name; the link's warnings go
// to standard error instead of a box, so that nothing waits for a user. With --poll, Poll is
// pressed once before the main dialog's picture is taken, so that it shows a sample.
#include <cstdio>
#include <string>

#include <QAbstractButton>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include <afx/Afx.h>

#include "AboutDlg.h"
#include "GyrodeskDlg.h"
#include "HelpDlg.h"
#include "Templates.h"
#include "resource.h"

namespace {

std::string g_outDir;
bool g_poll = false;
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

void PressPoll(CGyrodeskDlg& dialog) {
    if (auto* poll = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(IDC_POLL)->GetSafeQWidget()))
        poll->click();
}
void PressPoll(CDialog&) {}

// The tracker is left as the program's Exit leaves it: reset, and its port closed.
void CloseLink(CGyrodeskDlg& dialog) {
    if (dialog.link.GetPortId() != 0) dialog.link.CloseCom(dialog.link.GetComHandle());
}
void CloseLink(CDialog&) {}

template <class Dialog>
bool Render(const char* name) {
    Dialog dialog;
    if (!dialog.Create(dialog.GetTemplateId())) {
        std::fprintf(stderr, "gyrodesk-render: cannot create the dialog for %s\n", name);
        return false;
    }
    if (g_poll) PressPoll(dialog);
    const bool saved = Save(dialog, name);
    CloseLink(dialog);
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
    const bool poll = argc == 3 && std::string(argv[1]) == "--poll";
    if (argc != 2 && !poll) {
        std::fprintf(stderr, "usage: gyrodesk-render [--poll] DIR\n");
        return 2;
    }
    g_poll = poll;
    g_outDir = argv[argc - 1];
    if (!QDir().mkpath(QString::fromStdString(g_outDir))) {
        std::fprintf(stderr, "gyrodesk-render: cannot create %s\n", g_outDir.c_str());
        return 1;
    }
    AfxSetResourceTable(gyrodesk::Resources());
    return AfxWinMain(argc, argv);
}
