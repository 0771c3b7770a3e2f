#include <afx/CDC.h>

#include <QPainter>
#include <QWidget>

#include <afx/CWnd.h>
#include <afx/Resources.h>

#include "PaintLog.h"
#include "WindowState.h"

using afx::detail::PaintRecord;

// ---- CBitmap ------------------------------------------------------------------------------

CBitmap::~CBitmap() = default;

BOOL CBitmap::LoadBitmap(UINT id) {
    const afx::BitmapResource* resource = afx::FindBitmapResource(id);
    if (!resource) return FALSE;
    QImage image(QString::fromUtf8(resource->path));
    if (image.isNull()) return FALSE;
    m_bitmap = std::make_unique<afx::BitmapImage>();
    m_bitmap->id = id;
    m_bitmap->image = std::move(image);
    return TRUE;
}

BOOL CBitmap::DeleteObject() {
    if (!m_bitmap) return FALSE;
    m_bitmap.reset();
    return TRUE;
}

// ---- CDC ----------------------------------------------------------------------------------

CDC::CDC() = default;
CDC::~CDC() = default;

BOOL CDC::CreateCompatibleDC(CDC*) {
    m_context = std::make_unique<afx::DeviceContext>();
    m_context->owner = this;
    m_hDC = m_context.get();
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    m_context.reset();
    m_hDC = nullptr;
    return TRUE;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!m_hDC) return nullptr;
    CBitmap* previous = m_hDC->selected;
    m_hDC->selected = bitmap;
    return previous;
}

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* source, int xSrc, int ySrc, DWORD rop) {
    if (!m_hDC || !source || !source->m_hDC || rop != SRCCOPY) return FALSE;
    CBitmap* selected = source->m_hDC->selected;
    const afx::BitmapImage* bitmap = selected ? selected->GetSafeHandle() : nullptr;
    if (!bitmap) return FALSE;
    if (afx::detail::PaintLogActive()) {
        PaintRecord r{PaintRecord::Kind::BitBlt, m_hDC->window, x, y, w, h};
        r.srcX = xSrc;
        r.srcY = ySrc;
        r.resourceId = bitmap->id;
        r.srcWidth = bitmap->image.width();
        r.srcHeight = bitmap->image.height();
        afx::detail::RecordPaint(r);
    }
    if (!m_hDC->painter) return TRUE;
    // Only the part of the block that lies inside the bitmap is copied.
    const QRect wanted(xSrc, ySrc, w, h);
    const QRect inside = wanted.intersected(bitmap->image.rect());
    if (!inside.isEmpty())
        m_hDC->painter->drawImage(QPoint(x + inside.left() - xSrc, y + inside.top() - ySrc),
                                  bitmap->image, inside);
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    if (!m_hDC || !icon) return FALSE;
    if (afx::detail::PaintLogActive()) {
        PaintRecord r{PaintRecord::Kind::DrawIcon, m_hDC->window,       x, y,
                      icon->large.width(),         icon->large.height()};
        r.resourceId = icon->id;
        afx::detail::RecordPaint(r);
    }
    if (m_hDC->painter) m_hDC->painter->drawImage(QPoint(x, y), icon->large);
    return TRUE;
}

void CDC::FillBackground(const RECT& rect) {
    if (!m_hDC) return;
    const QRect r(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (afx::detail::PaintLogActive())
        afx::detail::RecordPaint({PaintRecord::Kind::EraseBackground, m_hDC->window, r.x(), r.y(),
                                  r.width(), r.height()});
    QWidget* widget = m_hDC->window ? m_hDC->window->GetSafeQWidget() : nullptr;
    if (m_hDC->painter && widget) m_hDC->painter->fillRect(r, widget->palette().window());
}

// ---- CPaintDC -----------------------------------------------------------------------------

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window) {
    m_context = std::make_unique<afx::DeviceContext>();
    m_context->owner = this;
    m_context->window = window;
    m_hDC = m_context.get();
    QWidget* widget = window ? window->GetSafeQWidget() : nullptr;
    // A painter can exist only during the widget's paint event; outside one, nothing is drawn.
    if (widget && afx::detail::WindowState::Of(*window).painting) {
        m_painter = std::make_unique<QPainter>(widget);
        m_context->painter = m_painter.get();
    }
}

CPaintDC::~CPaintDC() {
    m_context->painter = nullptr;
    m_painter.reset();
}

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    default: return 0;
    }
}
