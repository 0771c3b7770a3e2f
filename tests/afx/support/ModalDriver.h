// Driving the layer's modal dialogs and boxes from a test: run a dialog modally while a script
// acts inside its loop, click controls and press keys as a user would, and wait for conditions
// while events are processed (never by spinning).
#pragma once

#include <functional>

#include <Qt>

#include <afx/CDialog.h>

class QWidget;

namespace afxtest {

// The end code a dialog gets when a run overruns its time limit.
inline constexpr int kTimedOut = -2;

// Processes events until cond() holds or timeoutMs have passed; returns cond().
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = 3000);
// Processes events for ms milliseconds.
void Pump(int ms);

// Runs dialog.DoModal() and calls script once the dialog's own loop is the innermost one
// (after OnInitDialog and any box it opened). A dialog still open after timeoutMs fails the
// test: every modal window of the layer is closed and DoModal returns kTimedOut. Returns what
// DoModal returned.
int RunModal(CDialog& dialog, std::function<void(CDialog&)> script, int timeoutMs = 5000);

// Calls action with the next modal window of the layer (a dialog or a message box) that opens
// above the current innermost one, from inside that window's loop. Use it before the step that
// opens the window; the call returns at once.
void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Clicks control id of dialog with the left mouse button (a disabled control ignores it).
void ClickControl(CWnd& dialog, int id);
// Presses and releases key on the widget that has the focus in dialog (the dialog itself when
// none has).
void PressKey(CWnd& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Dismisses a message box with its OK (or only) button.
void DismissMessageBox(QWidget* box);

QWidget* ControlWidget(CWnd& dialog, int id);
// The id of the control that has the focus in dialog, or -1.
int FocusedControlId(CWnd& dialog);

}  // namespace afxtest
