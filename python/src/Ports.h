// vexlink.ports() and vexlink.resolve(): the serial devices present and what a port name
// stands for.
#pragma once

#include <pybind11/pybind11.h>

namespace vexlink_python {

// Binds ports(), resolve() and their records into m.
void definePorts(pybind11::module_& m);

}  // namespace vexlink_python
