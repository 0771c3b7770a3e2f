// CWnd: a window of the layer, which stands for one Qt widget: a dialog (CDialog) or one of a
// dialog's controls. Messages reach a window through SendMessage, which looks them up in the
// window's message map and otherwise gives them to the window's default processing
// (DefWindowProc). Controls tell their dialog of clicks and changes with WM_COMMAND, carrying
// the control id and the notification code (BN_CLICKED, EN_CHANGE).
#pragma once

#include <memory>

#include <afx/CString.h>
#include <afx/Constants.h>
#include <afx/MessageMap.h>
#include <afx/Types.h>

class QWidget;
class CMenu;

namespace afx::detail {
struct WindowState;
}

// A timer procedure (unused by the console, which always passes null and takes WM_TIMER).
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    // ---- The window itself -------------------------------------------------------------
    // The widget this window stands for; null when the window does not exist. Tests reach a
    // control's widget with GetDlgItem(id)->GetSafeQWidget().
    QWidget* GetSafeQWidget() const { return m_widget; }
    // The control id of a dialog's control (0 for a top-level window).
    int GetDlgCtrlID() const { return static_cast<int>(m_id); }
    // The style bits the window was created with (WS_*, and the control's own).
    DWORD GetStyle() const { return m_style; }

    // Sends a message to the window: its message map first, else DefWindowProc.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Enables or disables the window; returns nonzero when it was disabled before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL ShowWindow(int command);  // SW_HIDE, SW_SHOW, SW_MINIMIZE, SW_RESTORE
    // Sets the caption of a window or the text of a control (an edit sends EN_CHANGE).
    void SetWindowText(const char* text);
    int GetWindowText(CString& text) const;
    // Gives the window the keyboard focus; returns the window that had it (or null).
    CWnd* SetFocus();
    static CWnd* GetFocus();
    void Invalidate(BOOL erase = TRUE);

    // The client area in pixels; left and top are 0.
    void GetClientRect(LPRECT rect) const;
    // Moves the window to the middle of its owner (alternateOwner when given), or of the
    // screen's work area when it has none.
    void CenterWindow(CWnd* alternateOwner = nullptr);
    BOOL IsIconic() const;

    // ---- A dialog's controls, by id ----------------------------------------------------
    // The control with id nID, or null.
    CWnd* GetDlgItem(int nID) const;
    void SetDlgItemText(int nID, const char* text);
    int GetDlgItemText(int nID, CString& text) const;
    // Checks the radio button check and clears the others whose ids lie in first..last.
    // Sends no notification.
    void CheckRadioButton(int first, int last, int check);
    UINT IsDlgButtonChecked(int nID) const;  // BST_CHECKED or BST_UNCHECKED
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- Timers, system menu, message box ----------------------------------------------
    // Starts (or, for a running id, restarts) timer nIDEvent with a period of elapse ms. With
    // no procedure each tick arrives as WM_TIMER (wParam = the id); at most one tick per timer
    // is ever waiting, so slow handling drops ticks. Returns nIDEvent, or 0 with no window.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT elapse, TIMERPROC proc);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // The window's own system menu (revert FALSE); revert TRUE restores the platform's items
    // and returns null. Null for a window without WS_SYSMENU.
    CMenu* GetSystemMenu(BOOL revert);

    // A modal message box owned by this window (see MessageBox.h).
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    // ---- Top-level windows of one's own ------------------------------------------------
    // Creates this window as a modeless top-level window captioned windowName, its client area
    // rect's size with its top-left corner at rect's (screen pixels). style: WS_CAPTION,
    // WS_SYSMENU (a close box), WS_THICKFRAME (the user can resize it, else its size is
    // fixed), WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_VISIBLE (shown at once); WS_OVERLAPPEDWINDOW
    // has them all but WS_VISIBLE. An owner keeps the window above itself, lets the user work
    // in it while the owner runs modally, and destroys it when its own window is destroyed.
    // Messages: WM_PAINT (paint with CPaintDC; the background is filled before), WM_TIMER,
    // WM_CLOSE (the close box; by default DestroyWindow) and WM_DESTROY (just before the
    // window goes). FALSE when this window exists already.
    BOOL CreateEx(const char* windowName, DWORD style, const RECT& rect, CWnd* owner = nullptr);
    // Destroys the window that CreateEx made (and the windows it owns), after WM_DESTROY; the
    // object stays and can create a window again. FALSE when there is none.
    virtual BOOL DestroyWindow();
    // Queues message for the window: it is sent once events are next processed, if the window
    // still exists then. FALSE when there is no window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Brings a top-level window to the front and activates it, restoring it when minimised.
    BOOL SetForegroundWindow();

    // The layer's window for a widget (a dialog or a control), or null.
    static CWnd* FromWidget(const QWidget* widget);

protected:
    // Looks message up in the message map and calls the handler; FALSE when there is none.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // What a message without a map entry does.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT Default();

    // The handlers of the WM_ messages; each does the default processing. A derived class
    // maps its own (ON_WM_PAINT() and so on) and may call these.
    void OnPaint();
    void OnTimer(UINT nIDEvent);
    void OnSysCommand(UINT nID, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    void OnClose();
    void OnDestroy();

    // Binds this window to widget (which the caller keeps) as control id of parent.
    void Attach(QWidget* widget, CWnd* parent, UINT id, DWORD style);
    void Detach();

    DECLARE_MESSAGE_MAP()

private:
    friend struct afx::detail::WindowState;
    friend class CDialog;

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    QWidget* m_widget = nullptr;
    CWnd* m_parent = nullptr;
    UINT m_id = 0;
    DWORD m_style = 0;
    const CurrentMessage* m_current = nullptr;          // the message being dispatched
    std::unique_ptr<afx::detail::WindowState> m_state;  // timers, system menu
};

// The top-level window that has the focus (the innermost modal window), or null.
HWND GetActiveWindow();
