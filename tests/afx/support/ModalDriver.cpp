#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <afx/Testing.h>

namespace afxtest {

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs) {
    if (cond()) return true;
    QEventLoop loop;
    QTimer poll;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (cond()) loop.quit();
    });
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] { loop.quit(); });
    poll.start(5);
    deadline.start(timeoutMs);
    loop.exec();
    return cond();
}

void Pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, [&] { loop.quit(); });
    loop.exec();
}

namespace {

// Ends every modal window of the layer, innermost first.
void CloseAllModals() {
    const auto stack = afx::testing::ModalStack();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (auto* box = qobject_cast<QMessageBox*>(*it)) {
            box->done(QMessageBox::Ok);
        } else if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromWidget(*it))) {
            dialog->EndDialog(kTimedOut);
        }
    }
}

}  // namespace

int RunModal(CDialog& dialog, std::function<void(CDialog&)> script, int timeoutMs) {
    bool ran = false;
    bool timedOut = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (ran || !afx::testing::IsInnermostModal(dialog)) return;
        ran = true;
        poll.stop();
        script(dialog);
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        timedOut = true;
        CloseAllModals();
    });
    poll.start(5);
    deadline.start(timeoutMs);
    const int result = dialog.DoModal();
    if (timedOut) ADD_FAILURE() << "the dialog was still open after " << timeoutMs << " ms";
    return timedOut ? kTimedOut : result;
}

void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs) {
    const auto before = afx::testing::ModalStack();
    QWidget* top = before.empty() ? nullptr : before.back();
    auto* poll = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, top, action, elapsed, timeoutMs] {
        const auto stack = afx::testing::ModalStack();
        QWidget* now = stack.empty() ? nullptr : stack.back();
        const bool ready = now && now != top && now->isVisible();
        *elapsed += 5;
        if (!ready && *elapsed < timeoutMs) return;
        poll->stop();
        poll->deleteLater();
        if (!ready) {
            ADD_FAILURE() << "no modal window opened within " << timeoutMs << " ms";
            return;
        }
        action(now);
    });
    poll->start(5);
}

QWidget* ControlWidget(CWnd& dialog, int id) {
    CWnd* item = dialog.GetDlgItem(id);
    return item ? item->GetSafeQWidget() : nullptr;
}

void ClickControl(CWnd& dialog, int id) {
    QWidget* widget = ControlWidget(dialog, id);
    if (!widget) {
        ADD_FAILURE() << "no control " << id;
        return;
    }
    QPoint where = widget->rect().center();
    if (auto* radio = qobject_cast<QRadioButton*>(widget)) {
        // The indicator, which every radio button has whatever its caption's length.
        QStyleOptionButton option;
        option.initFrom(radio);
        option.text = radio->text();
        where = radio->style()
                    ->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio)
                    .center();
    }
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, where);
}

void PressKey(CWnd& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* window = dialog.GetSafeQWidget();
    if (!window) return;
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key, modifiers);
}

void DismissMessageBox(QWidget* box) {
    auto* messageBox = qobject_cast<QMessageBox*>(box);
    if (!messageBox) return;
    QAbstractButton* ok = messageBox->button(QMessageBox::Ok);
    if (!ok && !messageBox->buttons().isEmpty()) ok = messageBox->buttons().front();
    if (ok) ok->click();
}

int FocusedControlId(CWnd& dialog) {
    QWidget* window = dialog.GetSafeQWidget();
    QWidget* focus = window ? window->focusWidget() : nullptr;
    CWnd* control = focus ? CWnd::FromWidget(focus) : nullptr;
    return control && control != &dialog ? control->GetDlgCtrlID() : -1;
}

}  // namespace afxtest
