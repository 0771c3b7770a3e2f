// The objects behind the drawing handles: icons, bitmaps and device contexts.
#pragma once

#include <QImage>

#include <afx/Types.h>

class QPainter;
class CBitmap;
class CDC;

namespace afx {

// An icon group: its 32 x 32 image (drawn by DrawIcon) and its 16 x 16 image.
struct IconImage {
    UINT id = 0;
    QImage large;
    QImage small;
};

// One loaded bitmap.
struct BitmapImage {
    UINT id = 0;
    QImage image;
};

// What a CDC draws on: a window being painted (painter set) or memory (a selected bitmap).
struct DeviceContext {
    CDC* owner = nullptr;
    CWnd* window = nullptr;       // the window of a paint DC
    QPainter* painter = nullptr;  // null for a memory DC and outside a paint
    CBitmap* selected = nullptr;  // the bitmap selected into a memory DC
};

}  // namespace afx
