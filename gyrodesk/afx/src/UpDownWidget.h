// The up-down control's widget: two arrow buttons stacked in the control's rectangle.
#pragma once

#include <functional>

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

namespace afx::detail {

class UpDownWidget : public QWidget {
public:
    explicit UpDownWidget(QWidget* parent);

    // Called with +1 (up arrow) or -1 (down arrow) and how long the arrow has been held, in ms.
    std::function<void(int direction, qint64 heldMs)> onStep;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Press(int direction);
    void Release();
    void Repeat();

    int m_pressed = 0;  // +1 up, -1 down, 0 none
    QElapsedTimer m_held;
    QTimer m_repeat;

public:
    bool arrowKeys = false;  // UDS_ARROWKEYS: Up and Down step while the control has the focus
};

}  // namespace afx::detail
