// The basic types of the window layer: integers, handles and rectangles under the names the
// console's classes use for them.
#pragma once

#include <cstdint>

#include <afx/DialogTemplate.h>

class CWnd;

namespace afx {
struct IconImage;      // an icon group's images (GdiObjects.h)
struct BitmapImage;    // one loaded bitmap (GdiObjects.h)
struct DeviceContext;  // the state behind a CDC (GdiObjects.h)
}  // namespace afx

using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = afx::DWORD;
using UINT = afx::UINT;
using LONG = std::int32_t;
using UINT_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

using LPCSTR = const char*;
using LPCTSTR = const char*;
using LPSTR = char*;

// Handles. A window handle is the CWnd itself; the others point at the layer's image objects.
using HWND = CWnd*;
using HICON = afx::IconImage*;
using HCURSOR = HICON;  // the drag image of a minimised window is its icon
using HBITMAP = afx::BitmapImage*;
using HDC = afx::DeviceContext*;

constexpr WORD LOWORD(DWORD value) { return static_cast<WORD>(value & 0xFFFF); }
constexpr WORD HIWORD(DWORD value) { return static_cast<WORD>((value >> 16) & 0xFFFF); }
constexpr LONG MAKELONG(WORD low, WORD high) {
    return static_cast<LONG>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) { return static_cast<DWORD>(MAKELONG(low, high)); }

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

class CRect : public RECT {
public:
    constexpr CRect() : RECT{0, 0, 0, 0} {}
    constexpr CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
    constexpr CRect(const RECT& r) : RECT(r) {}

    constexpr LONG Width() const { return right - left; }
    constexpr LONG Height() const { return bottom - top; }
    constexpr bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};
