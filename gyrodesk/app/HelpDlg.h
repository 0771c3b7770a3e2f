// CHelpDlg: the Help Me! box, which holds nothing but its OK button.
#pragma once

#include <afx/Afx.h>

class CHelpDlg : public CDialog {
public:
    explicit CHelpDlg(CWnd* pParent = nullptr);
    ~CHelpDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
