#include "Controls.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include <afx/Constants.h>
#include <afx/DialogUnits.h>
#include <afx/Fonts.h>
#include <afx/Resources.h>

#include "DialogWindow.h"
#include "UpDownWidget.h"
#include "WindowText.h"

namespace afx::detail {

QString StripMnemonic(const char* caption) {
    QString out;
    const QString in = QString::fromUtf8(caption ? caption : "");
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == u'&') {
            if (i + 1 < in.size() && in[i + 1] == u'&') out += u'&';
            ++i;
            if (i < in.size() && in[i] != u'&') out += in[i];
            continue;
        }
        out += in[i];
    }
    return out;
}

ControlWnd::ControlWnd(CDialog& dialog, const DialogItemTemplate& item, Kind kind)
    : m_dialog(dialog), m_item(item), m_kind(kind) {}

ControlWnd::~ControlWnd() = default;

bool ControlWnd::IsAutoRadio() const { return m_kind == Kind::RadioButton; }

void ControlWnd::Notify(UINT code, Cause cause) {
    if (cause == Cause::User && !IsWindowEnabled()) return;
    m_dialog.SendMessage(WM_COMMAND,
                         MAKEWPARAM(static_cast<WORD>(m_item.id), static_cast<WORD>(code)),
                         reinterpret_cast<LPARAM>(this));
}

LRESULT ControlWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT: SetText(QString::fromUtf8(reinterpret_cast<const char*>(lParam))); return TRUE;
    case WM_GETTEXTLENGTH: return Text().toUtf8().size();
    case WM_GETTEXT: return CopyWindowText(Text(), wParam, lParam);
    default: return 0;
    }
}

namespace {

Qt::FocusPolicy FocusPolicyFor(DWORD style, Qt::FocusPolicy withoutTabStop) {
    return (style & WS_TABSTOP) ? Qt::StrongFocus : withoutTabStop;
}

// ---- Buttons ------------------------------------------------------------------------------

// A radio button whose check the dialog sets (Qt would toggle it on a click).
class DialogCheckedRadio : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override {}
};

class ButtonWnd : public ControlWnd {
public:
    ButtonWnd(CDialog& dialog, const DialogItemTemplate& item, QWidget* parent)
        : ControlWnd(dialog, item, KindOf(item.style)) {
        const DWORD type = item.style & BS_TYPEMASK;
        const QString caption = QString::fromUtf8(item.caption ? item.caption : "");
        switch (GetKind()) {
        case Kind::PushButton: {
            auto* button = new QPushButton(caption, parent);
            button->setAutoDefault(true);  // Enter clicks a push button that has the focus
            button->setDefault(type == BS_DEFPUSHBUTTON);
            m_button = button;
            break;
        }
        default: {
            auto* radio = new DialogCheckedRadio(caption, parent);
            radio->setAutoExclusive(false);  // groups are the template's WS_GROUP runs
            m_button = radio;
            break;
        }
        }
        m_button->setFocusPolicy(FocusPolicyFor(item.style, Qt::ClickFocus));
        QObject::connect(m_button, &QAbstractButton::clicked, m_button, [this] { OnClicked(); });
        Attach(m_button, &dialog, item.id, item.style);
    }

    static Kind KindOf(DWORD style) {
        return (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON ? Kind::RadioButton : Kind::PushButton;
    }

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case BM_GETCHECK: return m_button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            if (GetKind() != Kind::PushButton) {
                m_button->setCheckable(true);
                m_button->setChecked(wParam == BST_CHECKED);
            }
            return 0;
        case BM_CLICK: m_button->click(); return 0;
        default: return ControlWnd::DefWindowProc(message, wParam, lParam);
        }
    }
    QString Text() const override { return m_button->text(); }
    void SetText(const QString& text) override { m_button->setText(text); }

private:
    void OnClicked() {
        if (IsAutoRadio()) {
            if (DialogState* state = DialogState::Of(Dialog())) return state->ClickAutoRadio(*this);
        }
        Notify(BN_CLICKED);
    }

    QAbstractButton* m_button = nullptr;
};

class GroupBoxWnd : public ControlWnd {
public:
    GroupBoxWnd(CDialog& dialog, const DialogItemTemplate& item, QWidget* parent)
        : ControlWnd(dialog, item, Kind::GroupBox),
          m_box(new QGroupBox(QString::fromUtf8(item.caption ? item.caption : ""), parent)) {
        m_box->setFocusPolicy(Qt::NoFocus);
        // Group boxes and statics only show things: clicks pass to whatever lies beneath.
        m_box->setAttribute(Qt::WA_TransparentForMouseEvents);
        Attach(m_box, &dialog, item.id, item.style);
    }

protected:
    QString Text() const override { return m_box->title(); }
    void SetText(const QString& text) override { m_box->setTitle(text); }

private:
    QGroupBox* m_box;
};

// ---- Statics ------------------------------------------------------------------------------

class StaticWnd : public ControlWnd {
public:
    StaticWnd(CDialog& dialog, const DialogItemTemplate& item, QWidget* parent)
        : ControlWnd(dialog, item, Kind::Static), m_label(new QLabel(parent)) {
        const DWORD type = item.style & SS_TYPEMASK;
        m_label->setFocusPolicy(Qt::NoFocus);
        m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_label->setTextFormat(Qt::PlainText);
        m_label->setMargin(0);
        m_label->setIndent(0);
        if (item.style & SS_SUNKEN) {
            m_label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            m_label->setLineWidth(1);
        }
        m_label->setAlignment(Qt::AlignTop |
                              (type == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft));
        m_label->setWordWrap(type == SS_LEFT || type == SS_CENTER);
        Attach(m_label, &dialog, item.id, item.style);
        if (type == SS_BITMAP) ShowBitmap(item.caption);
        else SetText(QString::fromUtf8(item.caption ? item.caption : ""));
    }

    // Sets the bitmap that "#<id>" names; the control takes the bitmap's size.
    void ShowBitmap(const char* caption) {
        if (!caption || caption[0] != '#') return;
        const BitmapResource* resource =
            FindBitmapResource(static_cast<UINT>(std::atoi(caption + 1)));
        if (!resource) return;
        const QPixmap pixmap(QString::fromUtf8(resource->path));
        if (pixmap.isNull()) return;
        m_label->setPixmap(pixmap);
        m_resize = pixmap.size();
    }

    // An SS_BITMAP static takes its bitmap's size once placed.
    void Place(const QRect& rect) {
        m_label->setGeometry(m_resize.isValid() ? QRect(rect.topLeft(), m_resize) : rect);
    }

protected:
    QString Text() const override { return m_text; }
    void SetText(const QString& text) override {
        m_text = text;
        if ((Item().style & SS_TYPEMASK) == SS_BITMAP) return;
        m_label->setText(StripMnemonic(text.toUtf8().constData()));
    }

private:
    QLabel* m_label;
    QString m_text;
    QSize m_resize;
};

// ---- Edit ---------------------------------------------------------------------------------

class EditWnd : public ControlWnd {
public:
    EditWnd(CDialog& dialog, const DialogItemTemplate& item, QWidget* parent)
        : ControlWnd(dialog, item, Kind::Edit), m_edit(new QLineEdit(parent)) {
        m_edit->setFocusPolicy(FocusPolicyFor(item.style, Qt::ClickFocus));
        m_edit->setFrame((item.style & WS_BORDER) != 0);
        m_edit->setReadOnly((item.style & ES_READONLY) != 0);
        if (item.style & ES_READONLY) {
            // A read-only edit shows the dialog's face colour, as the period's did.
            QPalette palette = m_edit->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            m_edit->setPalette(palette);
        }
        QObject::connect(m_edit, &QLineEdit::textEdited, m_edit, [this](const QString& text) {
            if (Item().style & ES_UPPERCASE) {
                const QString cased = text.toUpper();
                if (cased != text) {
                    const int cursor = m_edit->cursorPosition();
                    m_edit->setText(cased);
                    m_edit->setCursorPosition(cursor);
                }
            }
            Notify(EN_CHANGE);
        });
        Attach(m_edit, &dialog, item.id, item.style);
        m_edit->setText(QString::fromUtf8(item.caption ? item.caption : ""));
    }

protected:
    QString Text() const override { return m_edit->text(); }
    // Setting the text reports the change at once, before the call returns, also while the
    // edit is disabled.
    void SetText(const QString& text) override {
        m_edit->setText(text);
        Notify(EN_CHANGE, Cause::Program);
    }

private:
    QLineEdit* m_edit;
};

// ---- Up-down ------------------------------------------------------------------------------

class UpDownWnd : public ControlWnd, public QObject {
public:
    UpDownWnd(CDialog& dialog, const DialogItemTemplate& item, QWidget* parent,
              ControlWnd* previous)
        : ControlWnd(dialog, item, Kind::UpDown), m_widget(new UpDownWidget(parent)) {
        m_widget->setFocusPolicy(FocusPolicyFor(item.style, Qt::NoFocus));
        m_widget->arrowKeys = (item.style & UDS_ARROWKEYS) != 0;
        m_widget->onStep = [this](int direction, qint64 heldMs) { Step(direction, heldMs); };
        Attach(m_widget, &dialog, item.id, item.style);
        if ((item.style & UDS_AUTOBUDDY) && previous) SetBuddy(previous);
    }

    ~UpDownWnd() override { SetBuddy(nullptr); }

    // Steps the position by the current increment toward the upper limit (+1) or the lower
    // (-1), within the range; writes the new position into the buddy.
    void Step(int direction, qint64 heldMs) {
        if (!IsWindowEnabled()) return;
        int pos = PositionFromBuddy();
        int increment = static_cast<int>(m_accel.front().nInc);
        for (const UDACCEL& a : m_accel)
            if (heldMs >= static_cast<qint64>(a.nSec) * 1000) increment = static_cast<int>(a.nInc);
        const int towardUpper = m_upper >= m_lower ? 1 : -1;
        const int lo = std::min(m_lower, m_upper), hi = std::max(m_lower, m_upper);
        int next = pos + direction * towardUpper * increment;
        next = std::clamp(next, lo, hi);
        if (next == pos) return;  // at the limit: nothing changes
        SetPosition(next);
    }

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case UDM_SETRANGE:
            m_upper = static_cast<short>(LOWORD(static_cast<DWORD>(lParam)));
            m_lower = static_cast<short>(HIWORD(static_cast<DWORD>(lParam)));
            return 0;
        case UDM_GETRANGE: return MAKELONG(static_cast<WORD>(m_upper), static_cast<WORD>(m_lower));
        case UDM_SETPOS: {
            const int previous = m_pos;
            SetPosition(Clamp(static_cast<short>(LOWORD(static_cast<DWORD>(lParam)))));
            return previous;
        }
        case UDM_GETPOS: {
            const bool valid = BuddyValue().has_value() || !(Item().style & UDS_SETBUDDYINT);
            return MAKELONG(static_cast<WORD>(PositionFromBuddy()), valid ? 0 : 1);
        }
        case UDM_SETACCEL: {
            const auto* entries = reinterpret_cast<const UDACCEL*>(lParam);
            if (wParam == 0 || !entries) return FALSE;
            m_accel.assign(entries, entries + wParam);
            return TRUE;
        }
        case UDM_GETACCEL: {
            auto* out = reinterpret_cast<UDACCEL*>(lParam);
            const size_t n = std::min<size_t>(wParam, m_accel.size());
            if (out) std::copy_n(m_accel.begin(), n, out);
            return static_cast<LRESULT>(m_accel.size());
        }
        case UDM_GETBUDDY: return reinterpret_cast<LRESULT>(m_buddy);
        default: return ControlWnd::DefWindowProc(message, wParam, lParam);
        }
    }
    QString Text() const override { return {}; }
    void SetText(const QString&) override {}

    // UDS_ARROWKEYS: Up and Down in the buddy step the control.
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !(Item().style & UDS_ARROWKEYS)) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down) return false;
        Step(key->key() == Qt::Key_Up ? 1 : -1, 0);
        return true;
    }

private:
    int Clamp(int value) const {
        return std::clamp(value, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    }

    std::optional<int> BuddyValue() const {
        if (!m_buddy) return std::nullopt;
        CString text;
        m_buddy->GetWindowText(text);
        QString digits = QString::fromUtf8(static_cast<const char*>(text)).trimmed();
        digits.remove(u',');
        bool ok = false;
        const int value = digits.toInt(&ok);
        if (!ok || value < std::min(m_lower, m_upper) || value > std::max(m_lower, m_upper))
            return std::nullopt;
        return value;
    }

    // UDS_SETBUDDYINT: the position is the buddy's number when it holds one within the range.
    int PositionFromBuddy() {
        if (Item().style & UDS_SETBUDDYINT)
            if (auto value = BuddyValue()) m_pos = *value;
        return m_pos;
    }

    void SetPosition(int pos) {
        m_pos = pos;
        if ((Item().style & UDS_SETBUDDYINT) && m_buddy)
            m_buddy->SetWindowText(QByteArray::number(pos).constData());
    }

    void SetBuddy(CWnd* buddy) {
        if (m_buddy && m_buddy->GetSafeQWidget())
            m_buddy->GetSafeQWidget()->removeEventFilter(this);
        m_buddy = buddy;
        if (m_buddy && m_buddy->GetSafeQWidget())
            m_buddy->GetSafeQWidget()->installEventFilter(this);
    }

    UpDownWidget* m_widget;
    CWnd* m_buddy = nullptr;
    int m_lower = 100;  // the platform's default range runs from 100 down to 0
    int m_upper = 0;
    int m_pos = 0;
    std::vector<UDACCEL> m_accel{{0, 1}, {2, 5}, {5, 20}};
};

}  // namespace

std::unique_ptr<ControlWnd> ControlWnd::Create(CDialog& dialog, const DialogTemplate& dlg,
                                               const DialogItemTemplate& item, QWidget* parent,
                                               ControlWnd* previous) {
    std::unique_ptr<ControlWnd> control;
    switch (item.kind) {
    case ControlClass::Button:
        if ((item.style & BS_TYPEMASK) == BS_GROUPBOX)
            control = std::make_unique<GroupBoxWnd>(dialog, item, parent);
        else control = std::make_unique<ButtonWnd>(dialog, item, parent);
        break;
    case ControlClass::Static: control = std::make_unique<StaticWnd>(dialog, item, parent); break;
    case ControlClass::Edit: control = std::make_unique<EditWnd>(dialog, item, parent); break;
    case ControlClass::UpDown:
        control = std::make_unique<UpDownWnd>(dialog, item, parent, previous);
        break;
    }
    QWidget* widget = control->GetSafeQWidget();
    if (dlg.style & DS_SETFONT) widget->setFont(MapTemplateFont(dlg.fontFace, dlg.pointSize));
    const CRect r = DialogRectToPixels(item.x, item.y, item.cx, item.cy);
    const QRect rect(r.left, r.top, r.Width(), r.Height());
    if (auto* st = dynamic_cast<StaticWnd*>(control.get())) st->Place(rect);
    else widget->setGeometry(rect);
    widget->setEnabled(!(item.style & WS_DISABLED));
    widget->setVisible(true);  // every template control is a visible child
    return control;
}

}  // namespace afx::detail
