// Dialog units to pixels. With the dialog font MS Sans Serif 8 at 96 dots per inch the base
// units are 6 x 13 pixels, so a dialog unit is 6/4 = 1.5 pixels wide and 13/8 = 1.625 pixels
// high. Each of x, y, cx and cy is converted on its own and rounded half away from zero, as
// MulDiv rounds: a template of 286 x 218 units has a client area of 429 x 354 pixels.
#pragma once

#include <afx/Types.h>

namespace afx {

inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;

// number * numerator / denominator, rounded half away from zero (denominator > 0).
constexpr int MulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

constexpr int DialogUnitsToPixelsX(int units) { return MulDiv(units, kBaseUnitX, 4); }
constexpr int DialogUnitsToPixelsY(int units) { return MulDiv(units, kBaseUnitY, 8); }

// A template rectangle (x, y, cx, cy in dialog units) in pixels, as left/top/right/bottom.
constexpr CRect DialogRectToPixels(int x, int y, int cx, int cy) {
    const int left = DialogUnitsToPixelsX(x);
    const int top = DialogUnitsToPixelsY(y);
    return CRect(left, top, left + DialogUnitsToPixelsX(cx), top + DialogUnitsToPixelsY(cy));
}

}  // namespace afx
