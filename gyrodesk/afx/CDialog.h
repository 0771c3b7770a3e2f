// CDialog: a dialog built from a template of the registered resource table. DoModal creates its
// window with every control of the template, in template order (which is the tab order), at the
// template's rectangles converted to pixels; calls OnInitDialog before the window is shown; and
// runs a nested event loop until EndDialog.
//
// Keys: Esc and the close box end the dialog with IDCANCEL (through WM_COMMAND IDCANCEL, so
// OnCancel); Enter clicks the push button that has the focus, or else the default push button
// (BS_DEFPUSHBUTTON, IDOK when the template has none); Tab and Shift+Tab move between WS_TABSTOP
// controls; the arrow keys move within a WS_GROUP group (selecting an automatic radio button).
// Alt+Space or a right click on the dialog's background opens the system menu.
#pragma once

#include <memory>

#include <afx/CWnd.h>

namespace afx::detail {
class DialogWindow;
struct DialogState;
}  // namespace afx::detail

// Passed to DoDataExchange: which way the data goes.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the EndDialog code (IDOK, IDCANCEL), or -1 when the
    // template is missing or the window cannot be made.
    virtual int DoModal();
    // Creates the window modelessly (OnInitDialog runs, the window shows when the template
    // says WS_VISIBLE); FALSE when it cannot be made. DestroyWindow removes it.
    BOOL Create(UINT templateId = 0, CWnd* parent = nullptr);
    BOOL DestroyWindow() override;

    // Ends a modal dialog with result, which DoModal returns. The window hides at once and is
    // destroyed when DoModal returns.
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    UINT GetTemplateId() const { return m_templateId; }
    // True while DoModal's loop runs.
    bool IsRunningModal() const { return m_inModalLoop; }

protected:
    // Called after the window and its controls exist, before it is shown. TRUE gives the focus
    // to the first WS_TABSTOP control; FALSE means the dialog has set the focus itself.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    // IDOK and IDCANCEL: end the dialog with that code.
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    DECLARE_MESSAGE_MAP()

private:
    friend class afx::detail::DialogWindow;
    friend struct afx::detail::DialogState;

    bool CreateFromTemplate(bool modal);
    void DestroyFromTemplate();

    UINT m_templateId;
    CWnd* m_pParentWnd;
    int m_result = -1;
    bool m_ended = false;
    bool m_inModalLoop = false;
    std::unique_ptr<afx::detail::DialogState> m_dialog;  // the window, its controls and loop
};
