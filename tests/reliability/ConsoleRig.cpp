#include "ConsoleRig.h"

#include <QEventLoop>
#include <QTest>
#include <QWidget>

#include "resource.h"

namespace reliability {

void WatchedDlg::OnTimer(UINT nIDEvent) {
    const auto start = Clock::now();
    CGyrodeskDlg::OnTimer(nIDEvent);
    longestTick = std::max(longestTick, Clock::now() - start);
    ++ticks;
    const int full = link.GetDataMode() == 'F' ? (link.GetCheckStatus() ? 9 : 8) : 19;
    if (link.GetBytesRead() == full) ++goodReads;
    if (text(*this, IDC_STATUS) == "No reply from Korvisor !!!") sawNoReply = true;
    const QString pitch = text(*this, IDC_PITCH).trimmed(), yaw = text(*this, IDC_YAW).trimmed(),
                  roll = text(*this, IDC_ROLL).trimmed();
    if (pitch.isEmpty() && yaw.isEmpty() && roll.isEmpty()) return;  // nothing shown yet
    if (pitch.toInt() != pose.pitch || yaw.toInt() != pose.yaw || roll.toInt() != pose.roll)
        ++wrongShown;
}

BEGIN_MESSAGE_MAP(WatchedDlg, CGyrodeskDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

LoopWatch::LoopWatch() : last_(Clock::now()) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        const auto now = Clock::now();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    });
    timer_.start();
}

QString text(CWnd& dialog, int id) {
    CString value;
    dialog.GetDlgItemText(id, value);
    return QString::fromStdString(value.str());
}

void click(CWnd& dialog, int id) {
    CWnd* item = dialog.GetDlgItem(id);
    if (!item || !item->GetSafeQWidget()) return;
    QWidget* widget = item->GetSafeQWidget();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(4, widget->height() / 2));
}

void pump(Clock::duration duration) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::chrono::duration_cast<milliseconds>(duration).count()),
                       &loop, &QEventLoop::quit);
    loop.exec();
}

Console::Console(korvisor::Options options) {
    sim = &ports.tracker(3, std::move(options));
    dlg = std::make_unique<WatchedDlg>();
    dlg->pose = guardedPose();
    dlg->Create(IDD_GYRODESK_DIALOG);
}

Console::~Console() {
    if (!dlg) return;
    dlg->KillTimer(1);
    if (dlg->link.GetPortId() != 0) dlg->link.CloseCom(dlg->link.GetComHandle());
    dlg->DestroyWindow();
}

void Console::stream(bool checksum) {
    dlg->SetDlgItemText(IDC_RATE_EDIT, "75");
    if (checksum) click(*dlg, IDC_CHECKSUM_ON);
    pump(milliseconds(50));
    click(*dlg, IDC_CONTINUOUS);
    pump(milliseconds(50));
    click(*dlg, IDC_START);
}

}  // namespace reliability
