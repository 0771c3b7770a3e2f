// The widget of a window made by CWnd::CreateEx: a plain top-level QWidget that hands painting
// and the close box to its CWnd as messages.
#pragma once

#include <QWidget>

#include <afx/CWnd.h>

namespace afx::detail {

class FrameWindow : public QWidget {
public:
    FrameWindow(CWnd& window, DWORD style);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CWnd& m_window;
};

}  // namespace afx::detail
