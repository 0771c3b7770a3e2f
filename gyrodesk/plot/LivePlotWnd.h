// CLivePlotWnd: the console's live plot, a modeless window of its own beside the main dialog.
// It draws the last ten seconds of pitch, yaw and roll against time (failed reads as gaps), the
// latest orientation as an attitude disc and a compass, and the rate of samples reached. The
// dialog hands it every read it shows; the window only watches and never talks to the tracker.
#pragma once

#include <afx/Afx.h>

#include "PlotPainter.h"
#include "SampleHistory.h"

class CLivePlotWnd : public CWnd {
public:
    static constexpr const char* kTitle = "Gyrodesk - Live Plot";

    CLivePlotWnd() = default;
    ~CLivePlotWnd() override;

    // Opens the window beside owner, or brings the open one to the front.
    BOOL Open(CWnd* owner);
    bool IsOpen() const { return GetSafeQWidget() != nullptr; }

    // One read of the dialog: its sample when good, a gap when it failed. Cheap whether or not
    // the window is open; the reads are kept so that a reopened plot shows them.
    void Record(bool good, int pitch, int yaw, int roll);
    const gyrodesk::SampleHistory& History() const { return history_; }

protected:
    void OnPaint();
    void OnTimer(UINT nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    // At most one repaint per period, however fast the samples come: the plot follows the
    // tracker smoothly without spending the console's time on pictures no one can see.
    static constexpr auto kRepaintPeriod = std::chrono::milliseconds(33);
    static constexpr UINT_PTR kRepaintTimer = 1;
    void ScheduleRepaint();

    gyrodesk::SampleHistory history_;
    gyrodesk::PlotPainter painter_;
    bool repaintPending_ = false;
    gyrodesk::PlotClock::time_point lastRepaint_{};
};
