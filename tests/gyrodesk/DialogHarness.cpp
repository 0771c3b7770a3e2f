#include "DialogHarness.h"

#include <cstdlib>

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <afx/Testing.h>
#include <gtest/gtest.h>
#include <vexlink/Vexlink.h>

#include "LinkWarning.h"

namespace gyrotest {

QuietLink::QuietLink() { Vexlink::SetMessageHandler(nullptr); }
QuietLink::~QuietLink() { gyrodesk::InstallLinkWarning(); }

std::string MissingPortPath(int com) {
    return "/nonexistent/gyrodesk-test/COM" + std::to_string(com);
}

void SetPorts(const std::vector<std::pair<int, std::string>>& devices) {
    for (int com = 1; com <= 4; ++com) {
        const std::string name = "VEXLINK_COM" + std::to_string(com);
        setenv(name.c_str(), MissingPortPath(com).c_str(), 1);
    }
    for (const auto& [com, path] : devices) {
        const std::string name = "VEXLINK_COM" + std::to_string(com);
        setenv(name.c_str(), path.c_str(), 1);
    }
}

korvisor::Options TrackerOptions(korvisor::Faults faults) {
    korvisor::Options options;
    options.version = "2.31";
    options.fixedPose = korvisor::Pose{12, 250, -30};
    options.faults = std::move(faults);
    return options;
}

void When(std::function<bool()> ready, std::function<void()> fn, std::chrono::milliseconds timeout,
          const char* what) {
    auto* timer = new QTimer(qApp);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, ready = std::move(ready), fn = std::move(fn), deadline, what] {
                         if (ready()) {
                             timer->stop();
                             timer->deleteLater();
                             fn();
                         } else if (std::chrono::steady_clock::now() > deadline) {
                             timer->stop();
                             timer->deleteLater();
                             ADD_FAILURE() << "timed out waiting for " << what;
                         }
                     });
    timer->start();
}

int RunModal(CDialog& dialog, std::function<void()> whileOpen) {
    When(
        [&dialog] {
            QWidget* w = dialog.GetSafeQWidget();
            return dialog.IsRunningModal() && w && w->isVisible() &&
                   afx::testing::IsInnermostModal(dialog);
        },
        [&dialog, whileOpen = std::move(whileOpen)] {
            whileOpen();
            // A dialog that has been ended hides at once; its loop returns a little later.
            QWidget* w = dialog.GetSafeQWidget();
            if (dialog.IsRunningModal() && w && w->isVisible()) dialog.EndDialog(IDCANCEL);
        },
        20s, "the dialog's modal loop");
    return dialog.DoModal();
}

QWidget* TopModal() {
    const std::vector<QWidget*> stack = afx::testing::ModalStack();
    return stack.empty() ? nullptr : stack.back();
}

void WhenModalOpens(const QString& caption, std::function<void(QWidget*)> fn) {
    const std::size_t depth = afx::testing::ModalStack().size();
    When(
        [depth, caption] {
            const std::vector<QWidget*> stack = afx::testing::ModalStack();
            return stack.size() > depth && stack.back()->isVisible() &&
                   stack.back()->windowTitle() == caption;
        },
        [fn = std::move(fn)] { fn(TopModal()); }, 10s, "a modal window");
}

void WhenMessageBoxOpens(std::function<void(QWidget*)> fn) {
    When([] { return !afx::testing::OpenMessageBoxes().empty(); },
         [fn = std::move(fn)] { fn(afx::testing::OpenMessageBoxes().back()); }, 10s,
         "a message box");
}

const char* DismissName(Dismiss how) {
    switch (how) {
    case Dismiss::OkButton: return "OkButton";
    case Dismiss::EnterKey: return "EnterKey";
    case Dismiss::EscapeKey: return "EscapeKey";
    case Dismiss::CloseBox: return "CloseBox";
    }
    return "?";
}

CDialog* DialogOf(QWidget* window) { return dynamic_cast<CDialog*>(CWnd::FromWidget(window)); }

void DismissWindow(QWidget* window, Dismiss how) {
    ASSERT_NE(window, nullptr);
    switch (how) {
    case Dismiss::OkButton: {
        QAbstractButton* ok = nullptr;
        if (CDialog* dialog = DialogOf(window)) {
            ok = qobject_cast<QAbstractButton*>(dialog->GetDlgItem(IDOK)->GetSafeQWidget());
        } else {
            ok = window->findChild<QAbstractButton*>();
        }
        ASSERT_NE(ok, nullptr);
        ok->click();
        break;
    }
    case Dismiss::EnterKey: QTest::keyClick(window, Qt::Key_Return); break;
    case Dismiss::EscapeKey: QTest::keyClick(window, Qt::Key_Escape); break;
    case Dismiss::CloseBox: window->close(); break;
    }
}

QString Text(CWnd& dialog, int id) {
    CString text;
    dialog.GetDlgItemText(id, text);
    return QString::fromStdString(text.str());
}

bool Checked(CWnd& dialog, int id) { return dialog.IsDlgButtonChecked(id) == BST_CHECKED; }

bool Enabled(CWnd& dialog, int id) {
    CWnd* item = dialog.GetDlgItem(id);
    return item && item->IsWindowEnabled();
}

void Click(CWnd& dialog, int id) {
    CWnd* item = dialog.GetDlgItem(id);
    ASSERT_NE(item, nullptr) << "no control " << id;
    QWidget* widget = item->GetSafeQWidget();
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(4, widget->height() / 2));
}

bool PumpUntil(std::function<bool()> done, std::chrono::milliseconds timeout) {
    if (done()) return true;
    QEventLoop loop;
    QTimer check;
    check.setInterval(5);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    QTimer::singleShot(static_cast<int>(timeout.count()), &loop, &QEventLoop::quit);
    check.start();
    loop.exec();
    return done();
}

void Pump(std::chrono::milliseconds duration) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(duration.count()), &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace gyrotest
