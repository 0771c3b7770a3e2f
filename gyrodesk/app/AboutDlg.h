// CAboutDlg: the About box: title and version, the tracking module, the maker and the logo.
#pragma once

#include <afx/Afx.h>

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
};
