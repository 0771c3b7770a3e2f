// The modal message box: a warning, error, question or information icon after the MB_ICON
// flags, the buttons after the MB_ type (MB_OK: one OK button), and the caption "Error" when
// none is given. It is owned by the given window (or by none), runs a nested loop that keeps
// serving timers, and returns IDOK, IDCANCEL, IDYES or IDNO.
#pragma once

#include <afx/Constants.h>

int MessageBox(HWND owner, const char* text, const char* caption, UINT type);
// A box owned by the active window, caption "Error".
int AfxMessageBox(const char* text, UINT type = MB_OK);

namespace afx {
inline constexpr const char* kDefaultMessageBoxCaption = "Error";
}
