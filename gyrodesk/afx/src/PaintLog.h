// A seam for the layer's test hooks (afx::testing::StartPaintLog): the drawing operations of
// a paint, kept only while a test records them; the program never does.
#pragma once

#include <vector>

#include <afx/Types.h>

class CWnd;

namespace afx::detail {

// One drawing operation of a paint, in client pixels.
struct PaintRecord {
    enum class Kind { BitBlt, DrawIcon, EraseBackground };
    Kind kind;
    CWnd* window;
    int x, y, w, h;                   // destination rectangle
    int srcX = 0, srcY = 0;           // BitBlt: source origin
    UINT resourceId = 0;              // BitBlt: the source bitmap's id; DrawIcon: the icon's id
    int srcWidth = 0, srcHeight = 0;  // BitBlt: the source bitmap's size
};

struct PaintLogState {
    bool active = false;
    std::vector<PaintRecord> records;
};
PaintLogState& PaintLogOf();

inline bool PaintLogActive() { return PaintLogOf().active; }
inline void RecordPaint(const PaintRecord& record) { PaintLogOf().records.push_back(record); }

}  // namespace afx::detail
