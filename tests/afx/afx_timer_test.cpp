// Window timers: ticks as WM_TIMER through the message map, restart, kill, no piling up, and
// ticks while another dialog's modal box is open.
#include <chrono>
#include <thread>

#include <QElapsedTimer>

#include "AfxTestDialog.h"
#include "ModalDriver.h"

using namespace afxtest;

TEST_F(AfxTest, TicksArriveAsWmTimerWithTheirIdUntilKilled) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& base) {
        auto& d = static_cast<RecordingDialog&>(base);
        EXPECT_EQ(d.SetTimer(1, 10, nullptr), 1u);
        EXPECT_EQ(d.SetTimer(7, 10, nullptr), 7u);
        EXPECT_TRUE(WaitUntil([&] { return d.Count("timer 1") >= 3 && d.Count("timer 7") >= 3; }));
        EXPECT_TRUE(d.KillTimer(1));
        EXPECT_FALSE(d.KillTimer(1)) << "not running any more";
        const int ones = d.Count("timer 1");
        Pump(60);
        EXPECT_EQ(d.Count("timer 1"), ones) << "no tick after KillTimer, not even a waiting one";
        EXPECT_GT(d.Count("timer 7"), 3);
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(AfxTest, SettingARunningTimerAgainRestartsItsPeriod) {
    RecordingDialog dlg;
    RunModal(dlg, [](CDialog& base) {
        auto& d = static_cast<RecordingDialog&>(base);
        QElapsedTimer clock;
        clock.start();
        d.SetTimer(1, 600, nullptr);
        Pump(300);
        ASSERT_FALSE(d.Has("timer 1"));
        const qint64 restartedAt = clock.elapsed();
        d.SetTimer(1, 600, nullptr);  // due 600 ms from now, not at 600 ms
        EXPECT_TRUE(WaitUntil([&] { return d.Has("timer 1"); }, 3000));
        EXPECT_GE(clock.elapsed(), restartedAt + 590);
        d.EndDialog(IDCANCEL);
    });
}

TEST_F(AfxTest, SlowHandlingDropsTicksInsteadOfQueueingThem) {
    RecordingDialog dlg;
    dlg.onTimer = [](RecordingDialog&, UINT) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // ten periods' worth
    };
    int ticks = 0;
    RunModal(dlg, [&](CDialog& base) {
        auto& d = static_cast<RecordingDialog&>(base);
        d.SetTimer(1, 5, nullptr);
        Pump(500);
        d.KillTimer(1);
        ticks = d.Count("timer 1");
        d.EndDialog(IDCANCEL);
    });
    // 500 ms of 50 ms handling: about ten ticks; queued ticks would have made a hundred.
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 12);
}

TEST_F(AfxTest, TicksKeepComingWhileANestedModalBoxIsOpen) {
    RecordingDialog outer;
    int duringBox = 0;
    RunModal(outer, [&](CDialog& base) {
        auto& d = static_cast<RecordingDialog&>(base);
        d.SetTimer(1, 13, nullptr);
        OnNextModal([&](QWidget* box) {
            const int before = d.Count("timer 1");
            WaitUntil([&] { return d.Count("timer 1") >= before + 5; }, 2000);
            duringBox = d.Count("timer 1") - before;
            DismissMessageBox(box);
        });
        d.MessageBox("nested", nullptr, MB_OK);  // returns once dismissed
        OnNextModal([&](QWidget* inner) {
            const int before = d.Count("timer 1");
            WaitUntil([&] { return d.Count("timer 1") >= before + 5; }, 2000);
            duringBox = std::min(duringBox, d.Count("timer 1") - before);
            static_cast<CDialog*>(CWnd::FromWidget(inner))->EndDialog(IDOK);
        });
        RecordingDialog box(IDD_PROBE_NOMIN);  // a nested dialog
        EXPECT_EQ(box.DoModal(), IDOK);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_GE(duringBox, 5);
}

TEST_F(AfxTest, TimersNeedAWindowAndEndWithIt) {
    RecordingDialog dlg;
    EXPECT_EQ(dlg.SetTimer(1, 10, nullptr), 0u) << "no window yet";
    RunModal(dlg, [](CDialog& d) {
        d.SetTimer(1, 10, nullptr);
        d.EndDialog(IDCANCEL);
    });
    const size_t after = dlg.events.size();
    Pump(50);
    EXPECT_EQ(dlg.events.size(), after);
}
