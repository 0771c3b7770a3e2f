#include <afx/CWnd.h>

#include <algorithm>
#include <vector>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <afx/MessageBox.h>

#include "WindowState.h"
#include "WindowText.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() : m_state(std::make_unique<afx::detail::WindowState>(*this)) {}

CWnd::~CWnd() {
    // A window of CreateEx's that is still there goes with its object.
    if (m_state->frame) CWnd::DestroyWindow();
    Detach();
}

void CWnd::Attach(QWidget* widget, CWnd* parent, UINT id, DWORD style) {
    m_widget = widget;
    m_parent = parent;
    m_id = id;
    m_style = style;
    afx::detail::RegisterWidget(widget, this);
}

void CWnd::Detach() {
    // Owned windows go with their owner's window.
    while (!m_state->owned.empty()) m_state->owned.back()->DestroyWindow();
    if (m_widget) afx::detail::UnregisterWidget(m_widget);
    m_state->timers.clear();
    m_state->systemMenu.reset();
    m_widget = nullptr;
    m_parent = nullptr;
}

// ---- Dispatch -----------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage current{message, wParam, lParam};
    const CurrentMessage* outer = m_current;
    m_current = &current;
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    m_current = outer;
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const UINT code = message == WM_COMMAND ? HIWORD(static_cast<DWORD>(wParam)) : 0;
    const UINT id = message == WM_COMMAND ? LOWORD(static_cast<DWORD>(wParam)) : 0;
    const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), message, code, id);
    if (!entry) return FALSE;
    CCmdTarget* target = this;
    *result = 0;
    switch (entry->nSig) {
    case AfxSig_vv: (target->*entry->pfn.vv)(); break;
    case AfxSig_vw: (target->*entry->pfn.vw)(static_cast<UINT>(wParam)); break;
    case AfxSig_vwl: (target->*entry->pfn.vwl)(static_cast<UINT>(wParam), lParam); break;
    case AfxSig_hv: *result = reinterpret_cast<LRESULT>((target->*entry->pfn.hv)()); break;
    case AfxSig_end: return FALSE;
    }
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_widget) return 0;
    switch (message) {
    case WM_SETTEXT:
        m_widget->setWindowTitle(QString::fromUtf8(reinterpret_cast<const char*>(lParam)));
        return TRUE;
    case WM_GETTEXTLENGTH: return m_widget->windowTitle().toUtf8().size();
    case WM_GETTEXT: return afx::detail::CopyWindowText(m_widget->windowTitle(), wParam, lParam);
    case WM_CLOSE: DestroyWindow(); return 0;
    default: return 0;
    }
}

LRESULT CWnd::Default() {
    if (!m_current) return 0;
    return DefWindowProc(m_current->message, m_current->wParam, m_current->lParam);
}

void CWnd::OnPaint() { Default(); }
void CWnd::OnTimer(UINT) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
void CWnd::OnClose() { Default(); }
void CWnd::OnDestroy() { Default(); }

// ---- The window itself --------------------------------------------------------------------

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_widget) return FALSE;
    const BOOL wasDisabled = !m_widget->isEnabled();
    m_widget->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_widget && m_widget->isEnabled(); }
BOOL CWnd::IsWindowVisible() const { return m_widget && m_widget->isVisible(); }

BOOL CWnd::ShowWindow(int command) {
    if (!m_widget) return FALSE;
    const BOOL wasVisible = m_widget->isVisible();
    switch (command) {
    case SW_HIDE: m_widget->hide(); break;
    case SW_MINIMIZE: m_widget->showMinimized(); break;
    case SW_RESTORE:
    case SW_SHOWNORMAL: m_widget->showNormal(); break;
    default: m_widget->show(); break;
    }
    return wasVisible;
}

void CWnd::SetWindowText(const char* text) {
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

int CWnd::GetWindowText(CString& text) const {
    CWnd* self = const_cast<CWnd*>(this);
    const auto length = static_cast<size_t>(self->SendMessage(WM_GETTEXTLENGTH));
    std::vector<char> buffer(length + 1, '\0');
    self->SendMessage(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    text = buffer.data();
    return text.GetLength();
}

CWnd* CWnd::SetFocus() {
    CWnd* previous = GetFocus();
    if (m_widget) m_widget->setFocus(Qt::OtherFocusReason);
    return previous;
}

CWnd* CWnd::GetFocus() {
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* w = focus; w; w = w->parentWidget())
        if (CWnd* wnd = FromWidget(w)) return wnd;
    return nullptr;
}

void CWnd::Invalidate(BOOL) {
    if (m_widget) m_widget->update();
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (!rect) return;
    *rect = RECT{0, 0, m_widget ? m_widget->width() : 0, m_widget ? m_widget->height() : 0};
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    if (!m_widget || !m_widget->isWindow()) return;
    QWidget* owner = nullptr;
    if (alternateOwner) owner = alternateOwner->GetSafeQWidget();
    if (!owner && m_parent) owner = m_parent->GetSafeQWidget();
    if (!owner) {
        // A window without a parent is owned by the innermost modal window below it.
        const auto& modals = afx::detail::ModalWidgets();
        for (auto it = modals.rbegin(); it != modals.rend(); ++it)
            if (*it && *it != m_widget && (*it)->isVisible()) {
                owner = *it;
                break;
            }
    }
    QRect area;
    if (owner && owner->isVisible() && !owner->isMinimized()) {
        area = owner->frameGeometry();
    } else {
        QScreen* screen =
            m_widget->screen() ? m_widget->screen() : QGuiApplication::primaryScreen();
        if (!screen) return;
        area = screen->availableGeometry();
    }
    // move() places a window's frame.
    const QRect frame = m_widget->frameGeometry();
    m_widget->move(area.left() + (area.width() - frame.width()) / 2,
                   area.top() + (area.height() - frame.height()) / 2);
}

BOOL CWnd::IsIconic() const { return m_widget && m_widget->isMinimized(); }

// ---- Controls by id -----------------------------------------------------------------------

CWnd* CWnd::GetDlgItem(int nID) const {
    if (!m_widget) return nullptr;
    for (QObject* child : m_widget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w) continue;
        CWnd* wnd = FromWidget(w);
        if (wnd && wnd->m_parent == this && wnd->GetDlgCtrlID() == (nID & 0xFFFF)) return wnd;
    }
    return nullptr;
}

void CWnd::SetDlgItemText(int nID, const char* text) {
    if (CWnd* item = GetDlgItem(nID)) item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int nID, CString& text) const {
    if (CWnd* item = GetDlgItem(nID)) return item->GetWindowText(text);
    text.Empty();
    return 0;
}

void CWnd::CheckRadioButton(int first, int last, int check) {
    for (int id = first; id <= last; ++id)
        if (CWnd* item = GetDlgItem(id))
            item->SendMessage(BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED);
}

UINT CWnd::IsDlgButtonChecked(int nID) const {
    CWnd* item = GetDlgItem(nID);
    return item ? static_cast<UINT>(item->SendMessage(BM_GETCHECK)) : BST_UNCHECKED;
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* item = GetDlgItem(nID);
    return item ? item->SendMessage(message, wParam, lParam) : 0;
}

// ---- Timers, system menu, message box -----------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT elapse, TIMERPROC proc) {
    if (!m_widget) return 0;
    return m_state->SetTimer(nIDEvent, elapse, proc);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return m_state->KillTimer(nIDEvent); }

CMenu* CWnd::GetSystemMenu(BOOL revert) {
    if (!m_widget || !(m_style & WS_SYSMENU)) return nullptr;
    if (revert || !m_state->systemMenu) {
        m_state->systemMenu = std::make_unique<CMenu>();
        afx::detail::WindowState::FillSystemMenu(*m_state->systemMenu);
    }
    if (revert) return nullptr;
    m_state->UpdateSystemMenu();
    return m_state->systemMenu.get();
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return ::MessageBox(this, text, caption, type);
}

HWND GetActiveWindow() {
    const auto& modals = afx::detail::ModalWidgets();
    for (auto it = modals.rbegin(); it != modals.rend(); ++it)
        if (*it)
            if (CWnd* wnd = CWnd::FromWidget(*it)) return wnd;
    if (QWidget* active = QApplication::activeWindow()) return CWnd::FromWidget(active);
    return nullptr;
}
