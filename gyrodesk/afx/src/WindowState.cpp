#include "WindowState.h"

#include <unordered_map>

#include <QCoreApplication>
#include <QWidget>

namespace afx::detail {

void WindowState::FillSystemMenu(CMenu& menu) {
    menu.AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
    menu.AppendMenu(MF_STRING, SC_MOVE, "&Move");
    menu.AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
}

void WindowState::UpdateSystemMenu() {
    if (!systemMenu) return;
    const bool iconic = window.IsIconic();
    const bool minimizeBox = (window.GetStyle() & WS_MINIMIZEBOX) != 0;
    auto enable = [&](UINT id, bool on) {
        systemMenu->EnableMenuItem(id, on ? MF_ENABLED : MF_GRAYED);
    };
    enable(SC_RESTORE, iconic);
    enable(SC_MOVE, !iconic);
    enable(SC_MINIMIZE, minimizeBox && !iconic);
    enable(SC_CLOSE, true);
}

UINT_PTR WindowState::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) {
    auto& slot = timers[id];
    if (!slot) {
        slot = std::make_shared<WindowTimer>();
        slot->timer.setTimerType(Qt::PreciseTimer);
        std::weak_ptr<WindowTimer> weak = slot;
        QObject::connect(&slot->timer, &QTimer::timeout, &slot->timer, [this, weak, id] {
            auto t = weak.lock();
            if (!t || t->pending) return;  // killed, or one tick is already waiting
            t->pending = true;
            // The tick waits in the application's queue, not the timer's, so a handler may kill
            // the timer (deleting it) while the tick runs.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this, weak, id] {
                    auto t = weak.lock();
                    if (!t) return;  // killed while the tick waited
                    t->pending = false;
                    if (t->proc) t->proc(&window, WM_TIMER, id, 0);
                    else window.SendMessage(WM_TIMER, id, 0);
                },
                Qt::QueuedConnection);
        });
    }
    slot->proc = proc;
    slot->timer.start(static_cast<int>(elapse));  // restarts a running timer
    return id;
}

BOOL WindowState::KillTimer(UINT_PTR id) { return timers.erase(id) ? TRUE : FALSE; }

namespace {
std::unordered_map<const QWidget*, CWnd*>& Widgets() {
    static std::unordered_map<const QWidget*, CWnd*> widgets;
    return widgets;
}
std::vector<QPointer<QWidget>>& Modals() {
    static std::vector<QPointer<QWidget>> modals;
    return modals;
}
}  // namespace

void RegisterWidget(const QWidget* widget, CWnd* window) { Widgets()[widget] = window; }
void UnregisterWidget(const QWidget* widget) { Widgets().erase(widget); }

void PushModal(QWidget* widget) { Modals().emplace_back(widget); }
void PopModal(QWidget* widget) {
    auto& m = Modals();
    for (auto it = m.end(); it != m.begin();) {
        --it;
        if (*it == widget || it->isNull()) {
            m.erase(it);
            return;
        }
    }
}
const std::vector<QPointer<QWidget>>& ModalWidgets() { return Modals(); }

}  // namespace afx::detail

CWnd* CWnd::FromWidget(const QWidget* widget) {
    auto& w = afx::detail::Widgets();
    auto it = w.find(widget);
    return it == w.end() ? nullptr : it->second;
}
