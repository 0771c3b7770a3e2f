// The console under watch: the real main dialog, created modelessly against a simulated
// tracker on COM3, that records after every timer tick what its read got and what the angle
// fields show; and a watch on the event loop's responsiveness.
#pragma once

#include <QString>
#include <QTimer>

#include <memory>

#include "GyrodeskDlg.h"
#include "Rig.h"

namespace reliability {

class WatchedDlg : public CGyrodeskDlg {
public:
    korvisor::Pose pose;
    int ticks = 0;
    int goodReads = 0;   // ticks whose read got a whole, good frame
    int wrongShown = 0;  // ticks after which the angle fields showed another pose
    Clock::duration longestTick{};
    bool sawNoReply = false;

protected:
    void OnTimer(UINT nIDEvent);
    DECLARE_MESSAGE_MAP()
};

// The longest the event loop went without serving a timer of its own.
class LoopWatch {
public:
    LoopWatch();
    Clock::duration longestGap() const { return longest_; }

private:
    QTimer timer_;
    Clock::time_point last_;
    Clock::duration longest_{};
};

QString text(CWnd& dialog, int id);
void click(CWnd& dialog, int id);
// Serves the event loop for duration, waiting in it.
void pump(Clock::duration duration);

// Ports with the tracker on COM3 and the console's dialog on them, created as at start-up.
struct Console {
    explicit Console(korvisor::Options options = {});
    ~Console();
    // Rate 75 from the rate field, checksum mode as asked, then Continuous and Start.
    void stream(bool checksum);

    Ports ports;
    korvisor::Simulator* sim = nullptr;
    std::unique_ptr<WatchedDlg> dlg;
};

}  // namespace reliability
