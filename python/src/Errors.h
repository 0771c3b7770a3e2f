// The module's exceptions: vexlink.Error and its subclasses PortError (also an OSError) and
// NoTrackerError.
#pragma once

#include "OpenFailure.h"

#include <pybind11/pybind11.h>

#include <string>

namespace vexlink_python {

// Creates the exception classes in module m.
void defineErrors(pybind11::module_& m);

// Raise (as pybind11::error_already_set) the matching Python exception.
[[noreturn]] void raiseError(const std::string& message);
[[noreturn]] void raisePortError(const std::string& port, const OpenFailure& failure);
[[noreturn]] void raiseNoTracker(const std::string& port);

}  // namespace vexlink_python
