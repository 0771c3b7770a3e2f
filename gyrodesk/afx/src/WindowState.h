// What a window keeps besides its widget: its timers and its system menu.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QPointer>
#include <QTimer>

#include <afx/CMenu.h>
#include <afx/CWnd.h>

class QPainter;

namespace afx::detail {

// One window timer. A tick is queued only when none is waiting, so a handler slower than the
// period drops ticks instead of piling them up.
struct WindowTimer {
    QTimer timer;
    bool pending = false;
    TIMERPROC proc = nullptr;
};

struct WindowState {
    explicit WindowState(CWnd& window) : window(window) {}
    static WindowState& Of(CWnd& window) { return *window.m_state; }

    // The platform's items of a system menu, in the order Restore, Move, Minimize, -, Close.
    static void FillSystemMenu(CMenu& menu);
    // Enables the platform's items as the window's style and state allow.
    void UpdateSystemMenu();

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc);
    BOOL KillTimer(UINT_PTR id);

    CWnd& window;
    std::map<UINT_PTR, std::shared_ptr<WindowTimer>> timers;
    std::unique_ptr<CMenu> systemMenu;
    bool painting = false;  // inside the widget's paint event

    // A window made by CreateEx: its widget (owned here), its owner and the windows it owns.
    QWidget* frame = nullptr;
    CWnd* owner = nullptr;
    std::vector<CWnd*> owned;
};

// Binds widgets to their windows, for CWnd::FromWidget.
void RegisterWidget(const QWidget* widget, CWnd* window);
void UnregisterWidget(const QWidget* widget);

// The modal windows that are open, outermost first.
void PushModal(QWidget* widget);
void PopModal(QWidget* widget);
const std::vector<QPointer<QWidget>>& ModalWidgets();

}  // namespace afx::detail
