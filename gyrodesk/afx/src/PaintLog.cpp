#include "PaintLog.h"

namespace afx::detail {

PaintLogState& PaintLogOf() {
    static PaintLogState log;
    return log;
}

}  // namespace afx::detail
