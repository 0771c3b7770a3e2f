// A dialog's window: a QDialog that hands painting, keys, the close box and the system menu to
// its CDialog as messages.
#pragma once

#include <memory>
#include <vector>

#include <QDialog>
#include <QPointer>

#include <afx/CDialog.h>

#include "Controls.h"

class QEventLoop;
#include <QMenu>

namespace afx::detail {

class DialogWindow : public QDialog {
public:
    DialogWindow(CDialog& dialog, const DialogTemplate& tmpl);

    // Opens the system menu popup at the client area's top-left.
    void OpenSystemMenu();
    QMenu* SystemMenuPopup() const { return m_menu; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void accept() override;

private:
    CDialog& m_dialog;
    QPointer<QMenu> m_menu;
};

struct DialogState {
    static DialogState* Of(const CDialog& dialog) { return dialog.m_dialog.get(); }

    ~DialogState();

    // The first and one past the last index of the WS_GROUP group of the control at index.
    std::pair<size_t, size_t> GroupOf(size_t index) const;
    // The index of control in template order, or controls.size().
    size_t IndexOf(const CWnd* control) const;
    // The command id that Enter gives when no push button has the focus.
    UINT DefaultCommandId() const;
    // Checks radio, clears the other radio buttons of its group, then sends BN_CLICKED.
    void ClickAutoRadio(ControlWnd& radio);
    // Moves the focus within the group of the focused control (arrow keys); true if moved.
    bool MoveInGroup(ControlWnd& from, int step);

    const DialogTemplate* tmpl = nullptr;
    std::unique_ptr<DialogWindow> window;
    std::vector<std::unique_ptr<ControlWnd>> controls;  // template order
    QEventLoop* loop = nullptr;
};

}  // namespace afx::detail
