// The module's exceptions: vexlink.Error and its subclasses PortError (also an OSError) and
// NoTrackerError.
#pragma once

#include <pybind11/pybind11.h>

#include <optional>
#include <string>

namespace vexlink_python {

// Why a port did not open.
struct PortFailure {
    std::string message;       // one line for the user: the cause, and the cure where there is one
    std::optional<int> error;  // errno, where the system gave one
    std::string path;          // the device the name stands for; empty when none
    std::string fault;         // "not found", "permission denied", "busy", ...
    std::string holder;        // busy: the program holding the port, when the system tells
};

// Creates the exception classes in module m.
void defineErrors(pybind11::module_& m);

// Raise (as pybind11::error_already_set) the matching Python exception.
[[noreturn]] void raiseError(const std::string& message);
[[noreturn]] void raisePortError(const PortFailure& failure);
[[noreturn]] void raiseNoTracker(const std::string& message);

}  // namespace vexlink_python
