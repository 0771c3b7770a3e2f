// The windows of a template's controls. Each is a CWnd over a Qt widget and answers the
// messages its kind of control takes (WM_SETTEXT, BM_SETCHECK, UDM_SETRANGE, ...); clicks and
// changes go to the dialog as WM_COMMAND with the control id and the notification code.
#pragma once

#include <memory>
#include <vector>

#include <QString>

#include <afx/CDialog.h>
#include <afx/DialogTemplate.h>

class QWidget;

namespace afx::detail {

class ControlWnd : public CWnd {
public:
    enum class Kind { PushButton, RadioButton, GroupBox, Static, Edit, UpDown };

    // The control for item, as a child widget of parent. previous is the control before it in
    // template order (an up-down's automatic buddy), or null.
    static std::unique_ptr<ControlWnd> Create(CDialog& dialog, const DialogTemplate& dlg,
                                              const DialogItemTemplate& item, QWidget* parent,
                                              ControlWnd* previous);
    ~ControlWnd() override;

    Kind GetKind() const { return m_kind; }
    const DialogItemTemplate& Item() const { return m_item; }
    CDialog& Dialog() const { return m_dialog; }
    bool IsAutoRadio() const;
    // Keys the control uses itself, which the dialog must not take for group moves.
    bool WantsArrowKeys() const { return m_kind == Kind::Edit || m_kind == Kind::UpDown; }

    // Sends WM_COMMAND with code to the dialog. A notification of the user's doing (a click,
    // typing) is dropped while the control is disabled; one of the program's doing (a text
    // set with SetDlgItemText) goes out whether the control is enabled or not.
    enum class Cause { User, Program };
    void Notify(UINT code, Cause cause = Cause::User);

protected:
    ControlWnd(CDialog& dialog, const DialogItemTemplate& item, Kind kind);
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual QString Text() const = 0;
    virtual void SetText(const QString& text) = 0;

private:
    CDialog& m_dialog;
    const DialogItemTemplate& m_item;
    Kind m_kind;
};

// A caption as a static shows it: "&&" becomes "&", a single '&' (a mnemonic) is dropped.
QString StripMnemonic(const char* caption);

}  // namespace afx::detail
