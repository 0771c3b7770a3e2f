// gyrodesk-render [--poll] [--plot SECONDS] DIR: saves pictures of Gyrodesk's three dialogs as
// PNG files in DIR (gyrodesk-main.png, gyrodesk-about.png, gyrodesk-help.png). The main dialog
// finds the tracker as the program does, on the ports that VEXLINK_COM1..4 name; the link's
// warnings go to standard error instead of a box, so that nothing waits for a user. With --poll,
// Poll is pressed once before the main dialog's picture is taken, so that it shows a sample.
// With --plot, a further run streams at rate 75 for SECONDS with the live plot open and saves
// the plot as gyrodesk-plot.png.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <QAbstractButton>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
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
double g_plotSeconds = 0;
int g_status = 0;

bool Save(CWnd& window, const char* name) {
    QWidget* widget = window.GetSafeQWidget();
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

void Click(CWnd& dialog, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id)->GetSafeQWidget()))
        button->click();
}

// Streams for g_plotSeconds with the live plot open, then saves the plot.
bool RenderPlot(const char* name) {
    CGyrodeskDlg dialog;
    if (!dialog.Create(IDD_GYRODESK_DIALOG)) {
        std::fprintf(stderr, "gyrodesk-render: cannot create the dialog for %s\n", name);
        return false;
    }
    dialog.SendDlgItemMessage(IDC_RATE_SPIN, UDM_SETPOS, 0, MAKELONG(75, 0));
    Click(dialog, IDC_CONTINUOUS);
    Click(dialog, IDC_START);
    dialog.SendMessage(WM_SYSCOMMAND, IDM_LIVEPLOT, 0);
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(g_plotSeconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    Click(dialog, IDC_STOP);
    const bool saved = Save(dialog.LivePlot(), name);
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
                        Render<CHelpDlg>("gyrodesk-help.png") &&
                        (g_plotSeconds <= 0 || RenderPlot("gyrodesk-plot.png"));
        g_status = ok ? 0 : 1;
        return FALSE;
    }
    int ExitInstance() override { return g_status; }
};

CRenderApp theApp;

}  // namespace

constexpr char kUsage[] =
    "usage: gyrodesk-render [--poll] [--plot SECONDS] DIR | --help | --version\n";

int main(int argc, char** argv) {
    // --help and --version are answered before anything is written or any port is probed; any
    // other option is a mistake, never a folder's name.
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::printf(
                "%s\n%s", kUsage,
                "Saves pictures of Gyrodesk's three dialogs as PNG files in DIR. The main\n"
                "dialog finds the tracker on COM1 to COM4 (VEXLINK_COM1..4) as the program\n"
                "does; with --poll it shows one sample; with --plot SECONDS it also draws the "
                "live\n"
                "plot after streaming for that long.\n");
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (arg == "--version") {
            std::printf("gyrodesk-render %s\n", GYRODESK_VERSION);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    int i = 1;
    for (; i < argc - 1; ++i) {
        const std::string arg = argv[i];
        if (arg == "--poll") {
            g_poll = true;
        } else if (arg == "--plot" && i + 1 < argc - 1) {
            g_plotSeconds = std::atof(argv[++i]);
            if (g_plotSeconds <= 0) break;
        } else {
            break;
        }
    }
    if (i != argc - 1 || argv[argc - 1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    g_outDir = argv[argc - 1];
    if (!QDir().mkpath(QString::fromStdString(g_outDir))) {
        std::fprintf(stderr, "gyrodesk-render: cannot create %s\n", g_outDir.c_str());
        return 1;
    }
    AfxSetResourceTable(gyrodesk::Resources());
    return AfxWinMain(argc, argv);
}
