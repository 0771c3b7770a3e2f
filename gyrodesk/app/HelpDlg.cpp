#include "HelpDlg.h"

#include "resource.h"

CHelpDlg::CHelpDlg(CWnd* pParent) : CDialog(IDD_HELP, pParent) {}

CHelpDlg::~CHelpDlg() = default;

void CHelpDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

BEGIN_MESSAGE_MAP(CHelpDlg, CDialog)
END_MESSAGE_MAP()
