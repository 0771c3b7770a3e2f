#include <afx/MessageBox.h>

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <afx/CWnd.h>

#include "WindowState.h"

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: icon = QMessageBox::Critical; break;
    case MB_ICONQUESTION: icon = QMessageBox::Question; break;
    case MB_ICONEXCLAMATION: icon = QMessageBox::Warning; break;
    case MB_ICONASTERISK: icon = QMessageBox::Information; break;
    default: break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MB_YESNO: buttons = QMessageBox::Yes | QMessageBox::No; break;
    default: break;
    }
    QWidget* parent = owner ? owner->GetSafeQWidget() : nullptr;
    QMessageBox box(icon, QString::fromUtf8(caption ? caption : afx::kDefaultMessageBoxCaption),
                    QString::fromUtf8(text ? text : ""), buttons, parent);
    box.setObjectName("afxMessageBox");
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    afx::detail::PushModal(&box);
    const int answer = box.exec();
    afx::detail::PopModal(&box);
    switch (answer) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
    }
}

int AfxMessageBox(const char* text, UINT type) {
    return MessageBox(GetActiveWindow(), text, nullptr, type);
}
