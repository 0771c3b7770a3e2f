// CGyrodeskDlg: the main dialog, the program's only top-level window. It owns the one link to
// the tracker, sets every control to its default, finds the tracker at start-up, paints the
// logo and opens the About and Help boxes.
#pragma once

#include <afx/Afx.h>
#include <vexlink/Vexlink.h>

class CGyrodeskDlg : public CDialog {
public:
    explicit CGyrodeskDlg(CWnd* pParent = nullptr);
    ~CGyrodeskDlg() override;

    HICON iconHandle;  // the program icon: the minimised window and the drag image
    Vexlink link;      // the serial link to the tracker
    UINT timerId = 0;  // the continuous-sampling timer; 1 from OnInitDialog on

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnAbout();
    void OnHelpMe();
    void OnExit();
    void OnChangeRateEdit();

    DECLARE_MESSAGE_MAP()
};
