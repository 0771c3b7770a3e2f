// The program's application object run as the program runs it, with one user action done once
// the main dialog is up: gyrodesk-exit-probe exit|enter|escape|closebox|sysclose|plot [OPTION...].
// The exit status is the program's. The live plot must be open once the dialog runs when the
// program was given --plot, and closed otherwise; "plot" waits for it, then presses Esc.
#include <cstdio>
#include <cstring>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <afx/Afx.h>
#include <afx/Testing.h>

#include "GyrodeskApp.h"
#include "LinkWarning.h"
#include "Templates.h"
#include "resource.h"

namespace {

std::string g_action;
constexpr int kWarningShown = 97;
constexpr int kStillRunning = 96;
constexpr int kPlotWrong = 95;
bool g_plotExpected = false;

QWidget* PlotWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Gyrodesk - Live Plot") return w;
    return nullptr;
}

void Act(CDialog& dlg) {
    QWidget* window = dlg.GetSafeQWidget();
    if (g_action == "exit") {
        qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDOK)->GetSafeQWidget())->click();
    } else if (g_action == "enter") {
        // Enter while a radio button has the focus: the default button, Exit.
        dlg.GetDlgItem(IDC_ASCII)->SetFocus();
        QTest::keyClick(dlg.GetDlgItem(IDC_ASCII)->GetSafeQWidget(), Qt::Key_Return);
    } else if (g_action == "escape") {
        QTest::keyClick(window, Qt::Key_Escape);
    } else if (g_action == "closebox") {
        window->close();
    } else if (g_action == "plot") {
        // The plot opens from the dialog's own loop: give it a moment, then end as Esc does.
        auto* timer = new QTimer(qApp);
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, window] {
            if (!PlotWindow()) return;
            timer->stop();
            QTest::keyClick(window, Qt::Key_Escape);
        });
        timer->start();
        QTimer::singleShot(5000, qApp, [] {
            std::fprintf(stderr, "gyrodesk-exit-probe: no live plot\n");
            std::_Exit(kPlotWrong);
        });
    } else if (g_action == "sysclose") {
        afx::testing::ChooseSystemMenuItem(dlg, SC_CLOSE);
    } else {
        std::fprintf(stderr, "unknown action %s\n", g_action.c_str());
        std::_Exit(99);
    }
}

class ProbeApp : public CGyrodeskApp {
public:
    BOOL InitInstance() override {
        auto* timer = new QTimer(qApp);
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, [timer] {
            // A warning box means the tracker was not found: say so rather than wait for ever.
            if (!afx::testing::OpenMessageBoxes().empty()) {
                auto* box = qobject_cast<QMessageBox*>(afx::testing::OpenMessageBoxes().back());
                std::fprintf(stderr, "gyrodesk-exit-probe: a warning box opened: %s\n",
                             box ? qPrintable(box->text()) : "");
                std::_Exit(kWarningShown);
            }
            auto* dlg = dynamic_cast<CDialog*>(AfxGetMainWnd());
            if (!dlg || !dlg->IsRunningModal() || !dlg->GetSafeQWidget()->isVisible() ||
                !afx::testing::IsInnermostModal(*dlg))
                return;
            timer->stop();
            if (!g_plotExpected && PlotWindow()) {
                std::fprintf(stderr, "gyrodesk-exit-probe: the live plot opened without --plot\n");
                std::_Exit(kPlotWrong);
            }
            Act(*dlg);
        });
        timer->start();
        QTimer::singleShot(15000, qApp, [] {
            std::fprintf(stderr, "gyrodesk-exit-probe: still running 15 s after start (%s)\n",
                         g_action.c_str());
            std::_Exit(kStillRunning);
        });
        return CGyrodeskApp::InitInstance();
    }
};

ProbeApp theApp;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 98;
    g_action = argv[1];
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--plot") == 0) g_plotExpected = true;
    AfxSetResourceTable(gyrodesk::Resources());
    gyrodesk::InstallLinkWarning();
    return AfxWinMain(argc, argv);
}
