#include "DialogWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QCoreApplication>
#include <QTimer>

#include <afx/CMenu.h>
#include <afx/DialogUnits.h>
#include <afx/Fonts.h>

#include "WindowState.h"

namespace afx::detail {

namespace {

Qt::WindowFlags FlagsFor(DWORD style) {
    // A window with a minimise box is a normal top-level window, so that window managers
    // offer minimising; the others are dialogs.
    Qt::WindowFlags flags = (style & WS_MINIMIZEBOX) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
    if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

// Alt+Space opens the system menu of the dialog that the key goes to, whichever of its controls
// has the focus; the control never sees the key.
class SystemKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Space ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* dialog = widget ? dynamic_cast<DialogWindow*>(widget->window()) : nullptr;
        if (!dialog) return false;
        dialog->OpenSystemMenu();
        return true;
    }
};

void InstallSystemKeys() {
    static QPointer<SystemKeys> filter;
    if (filter || !QCoreApplication::instance()) return;
    filter = new SystemKeys(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

}  // namespace

DialogWindow::DialogWindow(CDialog& dialog, const DialogTemplate& tmpl)
    : QDialog(nullptr, FlagsFor(tmpl.style)), m_dialog(dialog) {
    setWindowTitle(QString::fromUtf8(tmpl.caption ? tmpl.caption : ""));
    if (tmpl.style & DS_SETFONT) setFont(MapTemplateFont(tmpl.fontFace, tmpl.pointSize));
    setAutoFillBackground(true);  // the platform paints the background before OnPaint
    setSizeGripEnabled(false);
    setFixedSize(DialogUnitsToPixelsX(tmpl.cx), DialogUnitsToPixelsY(tmpl.cy));
    InstallSystemKeys();
}

void DialogWindow::OpenSystemMenu() {
    CMenu* menu = m_dialog.GetSystemMenu(FALSE);
    if (!menu) return;
    if (m_menu) m_menu->close();
    auto* popup = new QMenu(this);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setObjectName("afxSystemMenu");
    for (const CMenu::Item& item : menu->Items()) {
        if (item.IsSeparator()) {
            popup->addSeparator();
            continue;
        }
        QAction* action = popup->addAction(QString::fromUtf8(item.text.c_str()));
        action->setEnabled(item.IsEnabled());
        action->setData(item.id);
        const UINT id = item.id;
        // The command arrives once the menu has closed, as a chosen menu item does.
        connect(action, &QAction::triggered, this, [this, id] {
            QTimer::singleShot(0, this, [this, id] { m_dialog.SendMessage(WM_SYSCOMMAND, id, 0); });
        });
    }
    m_menu = popup;
    popup->popup(mapToGlobal(QPoint(0, 0)));
}

void DialogWindow::paintEvent(QPaintEvent*) {
    WindowState& state = WindowState::Of(m_dialog);
    state.painting = true;
    m_dialog.SendMessage(WM_PAINT);
    state.painting = false;
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier && event->key() == Qt::Key_Escape) {
        CWnd* cancel = m_dialog.GetDlgItem(IDCANCEL);
        if (!cancel || cancel->IsWindowEnabled())
            m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(cancel));
        return;
    }
    if (mods == Qt::NoModifier &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // A push button with the focus clicks itself; anything else gives the default button.
        DialogState* state = DialogState::Of(m_dialog);
        const UINT id = state ? state->DefaultCommandId() : IDOK;
        CWnd* button = m_dialog.GetDlgItem(static_cast<int>(id));
        if (!button || button->IsWindowEnabled())
            m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                                 reinterpret_cast<LPARAM>(button));
        return;
    }
    QWidget::keyPressEvent(event);  // not QDialog's: Esc and Enter are handled above
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box is the system menu's Close.
    event->ignore();
    m_dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    QWidget* child = childAt(event->pos());
    if (!child || qobject_cast<QLabel*>(child) || qobject_cast<QGroupBox*>(child)) OpenSystemMenu();
    else event->ignore();
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    int step = 0;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: step = 1; break;
    default: return false;
    }
    auto* control = dynamic_cast<ControlWnd*>(CWnd::FromWidget(qobject_cast<QWidget*>(watched)));
    DialogState* state = DialogState::Of(m_dialog);
    if (!control || !state || control->WantsArrowKeys()) return false;
    state->MoveInGroup(*control, step);
    return true;
}

void DialogWindow::reject() {
    m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void DialogWindow::accept() { m_dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

// ---- DialogState --------------------------------------------------------------------------

DialogState::~DialogState() {
    // The controls' windows go before the widgets they stand for, last first (an up-down lets
    // go of its buddy, the control before it).
    while (!controls.empty()) controls.pop_back();
    window.reset();
}

std::pair<size_t, size_t> DialogState::GroupOf(size_t index) const {
    size_t first = index;
    while (first > 0 && !(controls[first]->GetStyle() & WS_GROUP)) --first;
    size_t end = index + 1;
    while (end < controls.size() && !(controls[end]->GetStyle() & WS_GROUP)) ++end;
    return {first, end};
}

size_t DialogState::IndexOf(const CWnd* control) const {
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].get() == control) return i;
    return controls.size();
}

UINT DialogState::DefaultCommandId() const {
    for (const auto& c : controls)
        if (c->GetKind() == ControlWnd::Kind::PushButton &&
            (c->GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return c->Item().id;
    return IDOK;
}

void DialogState::ClickAutoRadio(ControlWnd& radio) {
    const size_t index = IndexOf(&radio);
    if (index == controls.size() || !radio.IsWindowEnabled()) return;
    radio.SendMessage(BM_SETCHECK, BST_CHECKED);
    const auto [first, end] = GroupOf(index);
    for (size_t i = first; i < end; ++i)
        if (i != index && controls[i]->IsAutoRadio())
            controls[i]->SendMessage(BM_SETCHECK, BST_UNCHECKED);
    radio.Notify(BN_CLICKED);
}

bool DialogState::MoveInGroup(ControlWnd& from, int step) {
    const size_t index = IndexOf(&from);
    if (index == controls.size()) return false;
    const auto [first, end] = GroupOf(index);
    const size_t count = end - first;
    for (size_t n = 1; n < count; ++n) {
        const long span = static_cast<long>(count);
        const long offset = static_cast<long>(index - first) + step * static_cast<long>(n);
        const size_t i = first + static_cast<size_t>(((offset % span) + span) % span);
        ControlWnd& target = *controls[i];
        const auto kind = target.GetKind();
        if (kind == ControlWnd::Kind::Static || kind == ControlWnd::Kind::GroupBox) continue;
        if (!target.IsWindowEnabled() || !target.IsWindowVisible()) continue;
        target.SetFocus();
        // The focus selects an automatic radio button; one already selected is not clicked
        // again, so its command is not repeated.
        if (target.IsAutoRadio() && target.SendMessage(BM_GETCHECK) != BST_CHECKED)
            target.SendMessage(BM_CLICK);
        return true;
    }
    return false;
}

}  // namespace afx::detail
