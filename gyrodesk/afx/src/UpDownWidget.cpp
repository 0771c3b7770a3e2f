#include "UpDownWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace afx::detail {

namespace {
constexpr int kFirstRepeatMs = 500;  // holding an arrow: first repeat after this
constexpr int kRepeatMs = 100;       // then one step per this
}  // namespace

UpDownWidget::UpDownWidget(QWidget* parent) : QWidget(parent) {
    m_repeat.setSingleShot(false);
    QObject::connect(&m_repeat, &QTimer::timeout, this, [this] { Repeat(); });
}

void UpDownWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int upHeight = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), upHeight),
                             QRect(0, upHeight, width(), height() - upHeight)};
    for (int i = 0; i < 2; ++i) {
        const int direction = i == 0 ? 1 : -1;
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= m_pressed == direction ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &painter, this);

        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(2, 1, -2, -1);
        if (m_pressed == direction) arrow.rect.translate(1, 1);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void UpDownWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    Press(event->position().y() < height() / 2 ? 1 : -1);
}

void UpDownWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Release();
}

void UpDownWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (arrowKeys && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        if (!event->isAutoRepeat()) m_held.start();
        if (onStep) onStep(key == Qt::Key_Up ? 1 : -1, m_held.isValid() ? m_held.elapsed() : 0);
        return;
    }
    QWidget::keyPressEvent(event);
}

void UpDownWidget::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) m_held.invalidate();
    QWidget::keyReleaseEvent(event);
}

void UpDownWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) Release();
    QWidget::changeEvent(event);
}

void UpDownWidget::Press(int direction) {
    m_pressed = direction;
    m_held.start();
    update();
    if (onStep) onStep(direction, 0);
    m_repeat.start(kFirstRepeatMs);
}

void UpDownWidget::Release() {
    m_repeat.stop();
    m_pressed = 0;
    update();
}

void UpDownWidget::Repeat() {
    if (!m_pressed) return;
    m_repeat.setInterval(kRepeatMs);
    if (onStep) onStep(m_pressed, m_held.elapsed());
}

}  // namespace afx::detail
