// Painting: CPaintDC for a window's OnPaint, memory DCs with a selected CBitmap as BitBlt's
// source, and DrawIcon. Client coordinates are pixels.
//
// BitBlt copies the part of the source rectangle that lies inside the selected bitmap; the rest
// of the destination rectangle is left as it is (it shows the dialog's background).
#pragma once

#include <memory>

#include <afx/Constants.h>
#include <afx/GdiObjects.h>

class CWnd;

class CBitmap {
public:
    CBitmap() = default;
    ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Loads bitmap id from the resource table (a fresh copy each time); FALSE when missing.
    BOOL LoadBitmap(UINT id);
    BOOL DeleteObject();
    HBITMAP GetSafeHandle() const { return m_bitmap.get(); }
    operator HBITMAP() const { return m_bitmap.get(); }

private:
    std::unique_ptr<afx::BitmapImage> m_bitmap;
};

class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    static CDC* FromHandle(HDC dc) { return dc ? dc->owner : nullptr; }

    // Makes this a memory DC (a source for BitBlt) compatible with dc.
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    // Selects bitmap (null allowed) into a memory DC; returns the one selected before.
    CBitmap* SelectObject(CBitmap* bitmap);

    // Copies the w x h block at (xSrc, ySrc) of source's bitmap to (x, y). Only SRCCOPY.
    BOOL BitBlt(int x, int y, int w, int h, CDC* source, int xSrc, int ySrc, DWORD rop);
    // Draws the icon's 32 x 32 image with its top-left corner at (x, y).
    BOOL DrawIcon(int x, int y, HICON icon);
    // Fills the rectangle with the window's background colour.
    void FillBackground(const RECT& rect);

    // The painter of a paint DC during a paint; null otherwise.
    QPainter* GetQPainter() const { return m_hDC ? m_hDC->painter : nullptr; }

protected:
    HDC m_hDC = nullptr;
    std::unique_ptr<afx::DeviceContext> m_context;
};

// The DC of one paint of a window: valid inside the window's OnPaint. Outside a paint it draws
// nothing.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;

    HWND m_hWnd;

private:
    std::unique_ptr<QPainter> m_painter;
};

// SM_CXICON and SM_CYICON are 32, SM_CXSMICON and SM_CYSMICON 16; others 0.
int GetSystemMetrics(int index);
