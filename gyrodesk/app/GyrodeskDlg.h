// CGyrodeskDlg: the main dialog, the program's only top-level window. It owns the one link to
// the tracker, sets every control to its default, finds the tracker at start-up, paints the
// logo, opens the About and Help boxes, turns every control into tracker commands and shows
// the samples it reads.
#pragma once

#include <afx/Afx.h>
#include <vexlink/Vexlink.h>

#include "LivePlotWnd.h"

class CGyrodeskDlg : public CDialog {
public:
    explicit CGyrodeskDlg(CWnd* pParent = nullptr);
    ~CGyrodeskDlg() override;

    HICON iconHandle;  // the program icon: the minimised window and the drag image
    Vexlink link;      // the serial link to the tracker
    UINT timerId = 0;  // the continuous-sampling timer; 1 from OnInitDialog on

    // Opens the live plot as soon as the dialog runs (gyrodesk --plot).
    bool openPlotAtStart = false;
    // The live plot, fed with every read the dialog shows; its window opens from the system
    // menu.
    CLivePlotWnd& LivePlot() { return livePlot_; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Window (GyrodeskDlg.cpp)
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnAbout();
    void OnHelpMe();

    // Commands (GyrodeskDlgCommands.cpp)
    void On19200();
    void On9600();
    void OnAveragingOff();
    void OnAveragingOn();
    void OnChecksumOff();
    void OnChecksumOn();
    void OnCom1();
    void OnCom2();
    void OnCom3();
    void OnCom4();
    void OnReset();
    void OnHysteresisOff();
    void OnHysteresisOn();
    void OnAscii();
    void OnBinary();
    void OnContinuous();
    void OnUponRequest();
    void OnStart();
    void OnStop();
    void OnExit();
    void OnChangeRateEdit();

    // Samples (GyrodeskDlgSample.cpp)
    void OnPoll();
    void OnTimer(UINT nIDEvent);
    void ShowSample();

    DECLARE_MESSAGE_MAP()

private:
    static constexpr const char* kDefaultRate = "40";  // at start-up and after Reset

    void CheckDefaultRadios();
    void SelectPort(int number, const char* name, const char* failureText);
    void TakeSample();
    void ShowPortOutput();

    // The status line shows "No reply from Korvisor !!!", put there over statusBeforeNoReply_;
    // the next reply puts that text back.
    bool noReplyShown_ = false;
    CString statusBeforeNoReply_;

    CLivePlotWnd livePlot_;
};
