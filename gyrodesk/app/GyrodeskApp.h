// CGyrodeskApp: the application object. It runs the main dialog as the program's only window
// and ends the program when the dialog closes.
#pragma once

#include <afx/Afx.h>

class CGyrodeskApp : public CWinApp {
public:
    CGyrodeskApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    DECLARE_MESSAGE_MAP()
};
