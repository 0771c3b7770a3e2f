#include <afx/CDialog.h>

#include <QApplication>
#include <QEventLoop>
#include <QWindow>

#include <afx/CDC.h>
#include <afx/CWinApp.h>
#include <afx/DialogUnits.h>
#include <afx/Resources.h>

#include "DialogWindow.h"
#include "WindowState.h"

using afx::detail::ControlWnd;
using afx::detail::DialogState;
using afx::detail::DialogWindow;

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() { DestroyFromTemplate(); }

namespace {

// The window a new dialog belongs to: its parent, else the innermost visible modal window,
// else the application's main window.
QWidget* OwnerFor(const CDialog& dialog, CWnd* parent) {
    if (parent && parent->GetSafeQWidget()) return parent->GetSafeQWidget();
    const auto& modals = afx::detail::ModalWidgets();
    for (auto it = modals.rbegin(); it != modals.rend(); ++it)
        if (*it && (*it)->isVisible()) return *it;
    CWnd* main = AfxGetMainWnd();
    if (main && main != &dialog && main->GetSafeQWidget() && main->GetSafeQWidget()->isVisible())
        return main->GetSafeQWidget();
    return nullptr;
}

}  // namespace

bool CDialog::CreateFromTemplate(bool modal) {
    const afx::DialogTemplate* tmpl = afx::FindDialogTemplate(m_templateId);
    if (!tmpl || !qobject_cast<QApplication*>(QCoreApplication::instance())) return false;

    m_dialog = std::make_unique<DialogState>();
    m_dialog->tmpl = tmpl;
    m_dialog->window = std::make_unique<DialogWindow>(*this, *tmpl);
    DialogWindow* window = m_dialog->window.get();
    Attach(window, m_pParentWnd, 0, tmpl->style);

    QWidget* owner = OwnerFor(*this, m_pParentWnd);
    if (owner && owner != window) {
        window->winId();
        if (owner->windowHandle())
            window->windowHandle()->setTransientParent(owner->windowHandle());
    }
    // The template's position is relative to the owner's client area.
    const QPoint origin = owner ? owner->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    window->move(origin +
                 QPoint(afx::DialogUnitsToPixelsX(tmpl->x), afx::DialogUnitsToPixelsY(tmpl->y)));
    if (modal) window->setWindowModality(Qt::ApplicationModal);

    ControlWnd* previous = nullptr;
    QWidget* lastInChain = nullptr;
    for (const afx::DialogItemTemplate& item : tmpl->items) {
        auto control = ControlWnd::Create(*this, *tmpl, item, window, previous);
        QWidget* widget = control->GetSafeQWidget();
        // Earlier controls lie above later ones, so where two overlap the first one shows.
        widget->lower();
        if (!control->WantsArrowKeys()) widget->installEventFilter(window);
        // Template order is the tab order.
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (lastInChain) QWidget::setTabOrder(lastInChain, widget);
            lastInChain = widget;
        }
        previous = control.get();
        m_dialog->controls.push_back(std::move(control));
    }
    if (tmpl->style & WS_SYSMENU) GetSystemMenu(FALSE);

    m_ended = false;
    if (OnInitDialog()) {
        for (const auto& c : m_dialog->controls)
            if ((c->GetStyle() & WS_TABSTOP) && c->IsWindowEnabled()) {
                c->SetFocus();
                break;
            }
    }
    return true;
}

void CDialog::DestroyFromTemplate() {
    if (!m_dialog) return;
    std::unique_ptr<DialogState> state = std::move(m_dialog);
    Detach();
    state.reset();
}

int CDialog::DoModal() {
    if (m_dialog) return -1;  // the window exists already
    m_result = -1;
    if (!CreateFromTemplate(true)) {
        DestroyFromTemplate();
        return -1;
    }
    if (!m_ended) {
        QWidget* window = m_dialog->window.get();
        window->show();
        window->activateWindow();
        afx::detail::PushModal(window);
        QEventLoop loop;
        m_dialog->loop = &loop;
        m_inModalLoop = true;
        if (!m_ended) loop.exec(QEventLoop::DialogExec);
        m_inModalLoop = false;
        m_dialog->loop = nullptr;
        afx::detail::PopModal(window);
    }
    const int result = m_result;
    DestroyFromTemplate();
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_dialog) return FALSE;
    if (templateId) m_templateId = templateId;
    if (parent) m_pParentWnd = parent;
    if (!CreateFromTemplate(false)) {
        DestroyFromTemplate();
        return FALSE;
    }
    if (GetStyle() & WS_VISIBLE) m_dialog->window->show();
    return TRUE;
}

BOOL CDialog::DestroyWindow() {
    if (!m_dialog) return FALSE;
    if (m_dialog->loop) {
        EndDialog(IDCANCEL);  // a modal dialog goes when its loop returns
        return TRUE;
    }
    DestroyFromTemplate();
    return TRUE;
}

void CDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    if (!m_dialog) return;
    m_dialog->window->hide();
    if (m_dialog->loop) m_dialog->loop->exit(result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    QWidget* window = GetSafeQWidget();
    switch (message) {
    case WM_SYSCOMMAND:
        if (!window) return 0;
        switch (static_cast<UINT>(wParam) & 0xFFF0) {
        case SC_CLOSE: SendMessage(WM_CLOSE); break;
        case SC_MINIMIZE: window->showMinimized(); break;
        case SC_RESTORE: window->showNormal(); break;
        case SC_MOVE:
            // Moving with the keyboard is the window manager's; start its move.
            if (window->windowHandle()) window->windowHandle()->startSystemMove();
            break;
        default: break;
        }
        return 0;
    case WM_CLOSE: {
        // A dialog closes as its Cancel command, unless a Cancel button is disabled.
        CWnd* cancel = GetDlgItem(IDCANCEL);
        if (!cancel || cancel->IsWindowEnabled())
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                        reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case WM_ICONERASEBKGND: {
        if (CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam))) {
            CRect client;
            GetClientRect(&client);
            dc->FillBackground(client);
        }
        return TRUE;
    }
    default: return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
