#include "Errors.h"

#include <pybind11/eval.h>

namespace py = pybind11;

namespace vexlink_python {

namespace {

// The classes, defined in Python: PortError must be both a vexlink.Error and an OSError.
constexpr const char* kErrorClasses = R"(
import os as _os

class Error(Exception):
    """Base class of the errors this module raises."""

class PortError(Error, OSError):
    """The port could not be opened: no such port or device, access denied, not a serial
    device, the system console, or held by another program.

    An OSError: errno, strerror and filename are set where the system gave a reason (errno is
    None otherwise). str() gives the cause and, where there is one, the cure. fault names the
    cause ("not found", "permission denied", "busy", "not serial", ...); holder names the
    program that holds a busy port, when the system tells (else None)."""

    def __init__(self, message, errno=None, filename=None, fault=None, holder=None):
        if errno is None:
            OSError.__init__(self, message)
        else:
            OSError.__init__(self, errno, _os.strerror(errno), filename)
        self.message = message
        self.fault = fault
        self.holder = holder

    def __str__(self):
        return self.message

class NoTrackerError(Error):
    """The port opened, but no tracker answered the identification request. The port has been
    closed again."""
)";

// Kept for the interpreter's lifetime, as the module keeps them.
PyObject* errorClass = nullptr;
PyObject* portErrorClass = nullptr;
PyObject* noTrackerClass = nullptr;

[[noreturn]] void raise(PyObject* cls, const py::object& value) {
    PyErr_SetObject(cls, value.ptr());
    throw py::error_already_set();
}

py::object noneIfEmpty(const std::string& text) {
    return text.empty() ? py::none() : py::object(py::str(text));
}

}  // namespace

void defineErrors(py::module_& m) {
    py::dict scope;
    scope["__name__"] = m.attr("__name__");
    scope["__builtins__"] = py::module_::import("builtins");
    py::exec(kErrorClasses, scope);
    for (const char* name : {"Error", "PortError", "NoTrackerError"})
        m.attr(name) = py::object(scope[name]);
    errorClass = py::object(scope["Error"]).release().ptr();
    portErrorClass = py::object(scope["PortError"]).release().ptr();
    noTrackerClass = py::object(scope["NoTrackerError"]).release().ptr();
}

void raiseError(const std::string& message) { raise(errorClass, py::str(message)); }

void raisePortError(const PortFailure& failure) {
    py::object error = failure.error ? py::object(py::int_(*failure.error)) : py::none();
    raise(portErrorClass, py::make_tuple(failure.message, error, noneIfEmpty(failure.path),
                                         noneIfEmpty(failure.fault), noneIfEmpty(failure.holder)));
}

void raiseNoTracker(const std::string& message) { raise(noTrackerClass, py::str(message)); }

}  // namespace vexlink_python
