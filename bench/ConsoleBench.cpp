#include "Benches.h"

namespace bench {

Section consoleSection(const Settings&) {
    return Section{"Console", {"value"}, {1}, {}};
}

}  // namespace bench
