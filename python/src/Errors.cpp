#include "Errors.h"

namespace py = pybind11;

namespace vexlink_python {

namespace {

// The classes live as long as the interpreter: the module keeps them, and so do these.
PyObject* errorClass = nullptr;
PyObject* portErrorClass = nullptr;
PyObject* noTrackerClass = nullptr;

PyObject* makeClass(py::module_& m, const char* name, py::tuple bases, const char* doc) {
    py::dict namespace_;
    namespace_["__doc__"] = doc;
    namespace_["__module__"] = m.attr("__name__");
    py::object cls = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(&PyType_Type))(
        name, bases, namespace_);
    m.attr(name) = cls;
    return cls.release().ptr();
}

// A port as the user named it, with the device it stands for when that differs.
std::string describe(const std::string& port, const std::string& path) {
    return path.empty() || path == port ? port : port + " (" + path + ")";
}

[[noreturn]] void raise(PyObject* cls, py::object value) {
    PyErr_SetObject(cls, value.ptr());
    throw py::error_already_set();
}

}  // namespace

void defineErrors(py::module_& m) {
    errorClass = makeClass(m, "Error", py::make_tuple(py::handle(PyExc_Exception)),
        "Base class of the errors this module raises.");
    portErrorClass = makeClass(m, "PortError", py::make_tuple(py::handle(errorClass), py::handle(PyExc_OSError)),
        "The port could not be opened: it does not exist, access is denied, it is no serial\n"
        "device, or another program holds it. An OSError: errno, strerror and filename are set\n"
        "where the system gave a reason (errno is None otherwise).");
    noTrackerClass = makeClass(m, "NoTrackerError", py::make_tuple(py::handle(errorClass)),
        "The port opened, but no tracker answered the identification request. The port has\n"
        "been closed again.");
}

void raiseError(const std::string& message) { raise(errorClass, py::str(message)); }

void raisePortError(const std::string& port, const OpenFailure& failure) {
    const std::string message = "cannot open " + describe(port, failure.path) + ": " + failure.reason;
    if (failure.error) {
        // OSError(errno, strerror, filename) fills in the three attributes.
        raise(portErrorClass, py::make_tuple(*failure.error, failure.reason, failure.path.empty() ? port : failure.path));
    }
    raise(portErrorClass, py::make_tuple(message));
}

void raiseNoTracker(const std::string& port) {
    const auto path = devicePath(port);
    raise(noTrackerClass, py::str("no tracker answered on " + describe(port, path.value_or(""))));
}

}  // namespace vexlink_python
