// Recording of drawing operations for tests (afx::testing::StartPaintLog).
#pragma once

#include <afx/Testing.h>

namespace afx::detail {
bool PaintLogActive();
void RecordPaint(const afx::testing::PaintRecord& record);
}  // namespace afx::detail
