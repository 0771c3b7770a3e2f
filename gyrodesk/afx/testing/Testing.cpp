#include <afx/Testing.h>

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "../src/WindowState.h"

namespace afx::testing {

std::vector<CMenu::Item> SystemMenuItems(CWnd& window) {
    CMenu* menu = window.GetSystemMenu(FALSE);
    return menu ? menu->Items() : std::vector<CMenu::Item>{};
}

BOOL ChooseSystemMenuItem(CWnd& window, UINT id) {
    CMenu* menu = window.GetSystemMenu(FALSE);
    if (!menu) return FALSE;
    for (const CMenu::Item& item : menu->Items()) {
        if (item.IsSeparator() || item.id != id) continue;
        if (!item.IsEnabled()) return FALSE;
        QTimer::singleShot(0, window.GetSafeQWidget(),
                           [&window, id] { window.SendMessage(WM_SYSCOMMAND, id, 0); });
        return TRUE;
    }
    return FALSE;
}

QWidget* OpenSystemMenu() {
    QWidget* popup = QApplication::activePopupWidget();
    return popup && popup->objectName() == "afxSystemMenu" ? popup : nullptr;
}

void StartPaintLog() {
    detail::PaintLogOf().records.clear();
    detail::PaintLogOf().active = true;
}

std::vector<PaintRecord> PaintLog() { return detail::PaintLogOf().records; }

void StopPaintLog() {
    detail::PaintLogOf().active = false;
    detail::PaintLogOf().records.clear();
}

QImage Render(CWnd& window) {
    QWidget* widget = window.GetSafeQWidget();
    return widget ? widget->grab().toImage() : QImage();
}

void SetClientSize(CWnd& window, int w, int h) {
    QWidget* widget = window.GetSafeQWidget();
    if (!widget) return;
    // A window with a sizing frame is resized as a user would; the others' size is fixed.
    if (detail::WindowState::Of(window).frame && (window.GetStyle() & WS_THICKFRAME))
        widget->resize(w, h);
    else widget->setFixedSize(w, h);
}

std::vector<QWidget*> ModalStack() {
    std::vector<QWidget*> out;
    for (const auto& w : detail::ModalWidgets())
        if (w) out.push_back(w);
    return out;
}

bool IsInnermostModal(const CDialog& dialog) {
    const auto stack = ModalStack();
    return dialog.IsRunningModal() && !stack.empty() && stack.back() == dialog.GetSafeQWidget();
}

std::vector<QWidget*> OpenMessageBoxes() {
    std::vector<QWidget*> out;
    for (QWidget* w : ModalStack())
        if (qobject_cast<QMessageBox*>(w)) out.push_back(w);
    return out;
}

}  // namespace afx::testing
