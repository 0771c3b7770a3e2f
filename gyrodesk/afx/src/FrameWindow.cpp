#include "FrameWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWindow>

#include "WindowState.h"

namespace afx::detail {

namespace {

Qt::WindowFlags FlagsFor(DWORD style) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    if (!(style & WS_THICKFRAME)) flags |= Qt::MSWindowsFixedSizeDialogHint;
    return flags;
}

}  // namespace

FrameWindow::FrameWindow(CWnd& window, DWORD style)
    : QWidget(nullptr, FlagsFor(style)), m_window(window) {
    setAutoFillBackground(true);  // the platform fills the background before WM_PAINT
    // Closing this window must never end the application's event loops.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void FrameWindow::paintEvent(QPaintEvent*) {
    WindowState& state = WindowState::Of(m_window);
    state.painting = true;
    m_window.SendMessage(WM_PAINT);
    state.painting = false;
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    // The window goes (or stays) as its WM_CLOSE handling decides.
    event->ignore();
    m_window.SendMessage(WM_CLOSE);
}

}  // namespace afx::detail

using afx::detail::FrameWindow;
using afx::detail::WindowState;

BOOL CWnd::CreateEx(const char* windowName, DWORD style, const RECT& rect, CWnd* owner) {
    if (m_widget) return FALSE;
    auto* frame = new FrameWindow(*this, style);
    frame->setWindowTitle(QString::fromUtf8(windowName ? windowName : ""));
    const QSize size(std::max<LONG>(rect.right - rect.left, 1),
                     std::max<LONG>(rect.bottom - rect.top, 1));
    if (style & WS_THICKFRAME) frame->resize(size);
    else frame->setFixedSize(size);
    // The window's frame goes where the client area's top-left corner is asked for, so that
    // rect means the same whatever the window manager's decoration.
    frame->move(rect.left, rect.top);

    WindowState& state = WindowState::Of(*this);
    state.frame = frame;
    Attach(frame, nullptr, 0, style);
    QWidget* ownerWidget = owner ? owner->GetSafeQWidget() : nullptr;
    if (ownerWidget) {
        // A transient child of the owner: kept above it, and not blocked by its modal loop.
        frame->winId();
        ownerWidget->winId();
        frame->windowHandle()->setTransientParent(ownerWidget->windowHandle());
        state.owner = owner;
        WindowState::Of(*owner).owned.push_back(this);
    }
    if (style & WS_VISIBLE) frame->show();
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    WindowState& state = WindowState::Of(*this);
    QWidget* frame = state.frame;
    if (!frame) return FALSE;
    SendMessage(WM_DESTROY);
    // Windows it owns go first, each with its own WM_DESTROY.
    while (!state.owned.empty()) state.owned.back()->DestroyWindow();
    if (state.owner) {
        auto& siblings = WindowState::Of(*state.owner).owned;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        state.owner = nullptr;
    }
    state.frame = nullptr;
    frame->hide();
    // Inside one of the window's own messages (its close box, say) the widget is still in use:
    // it goes once that event has returned.
    const bool inUse = m_current != nullptr || state.painting;
    Detach();
    if (inUse) frame->deleteLater();
    else delete frame;
    return TRUE;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_widget) return FALSE;
    QPointer<QWidget> widget = m_widget;
    // The widget is the call's context: a window destroyed meanwhile drops the message.
    QMetaObject::invokeMethod(
        m_widget,
        [this, widget, message, wParam, lParam] {
            if (widget && CWnd::FromWidget(widget) == this) SendMessage(message, wParam, lParam);
        },
        Qt::QueuedConnection);
    return TRUE;
}

BOOL CWnd::SetForegroundWindow() {
    if (!m_widget || !m_widget->isWindow()) return FALSE;
    if (m_widget->isMinimized()) m_widget->showNormal();
    else m_widget->show();
    m_widget->raise();
    m_widget->activateWindow();
    return TRUE;
}
