#include "LivePlotWnd.h"

#include <algorithm>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

using gyrodesk::PlotClock;

BEGIN_MESSAGE_MAP(CLivePlotWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CLivePlotWnd::~CLivePlotWnd() { DestroyWindow(); }

BOOL CLivePlotWnd::Open(CWnd* owner) {
    if (IsOpen()) return SetForegroundWindow();

    // Beside the owner on its right, kept on the screen.
    int x = 0;
    int y = 0;
    if (QWidget* ownerWidget = owner ? owner->GetSafeQWidget() : nullptr) {
        const QRect frame = ownerWidget->frameGeometry();
        x = frame.right() + 12;
        y = frame.top();
    }
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        x = std::max(area.left(), std::min(x, area.right() - gyrodesk::kDefaultClientWidth - 16));
        y = std::max(area.top(), std::min(y, area.bottom() - gyrodesk::kDefaultClientHeight - 40));
    }
    repaintPending_ = false;
    const CRect place(x, y, x + gyrodesk::kDefaultClientWidth, y + gyrodesk::kDefaultClientHeight);
    return CreateEx(kTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place, owner);
}

void CLivePlotWnd::Record(bool good, int pitch, int yaw, int roll) {
    history_.Record({PlotClock::now(), good, pitch, yaw, roll});
    if (IsOpen()) ScheduleRepaint();
}

void CLivePlotWnd::ScheduleRepaint() {
    if (repaintPending_) return;
    const auto now = PlotClock::now();
    const auto since = now - lastRepaint_;
    if (since >= kRepaintPeriod) {
        lastRepaint_ = now;
        Invalidate(FALSE);
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(kRepaintPeriod - since);
    repaintPending_ = true;
    SetTimer(kRepaintTimer, static_cast<UINT>(std::max<long long>(wait.count(), 1)), nullptr);
}

void CLivePlotWnd::OnTimer(UINT) {
    KillTimer(kRepaintTimer);
    repaintPending_ = false;
    lastRepaint_ = PlotClock::now();
    Invalidate(FALSE);
}

void CLivePlotWnd::OnPaint() {
    CPaintDC dc(this);
    QPainter* painter = dc.GetQPainter();
    if (!painter) return;
    CRect client;
    GetClientRect(&client);
    painter_.Paint(*painter, QSize(client.Width(), client.Height()), history_);
}
