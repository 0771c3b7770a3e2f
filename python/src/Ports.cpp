#include "Ports.h"

#include "Messages.h"

#include <vexlink/Ports.h>

#include <pybind11/stl.h>

#include <string>
#include <vector>

namespace py = pybind11;

namespace vexlink_python {

namespace {

py::object noneIfEmpty(const std::string& text) {
    return text.empty() ? py::none() : py::object(py::str(text));
}

std::string deviceRepr(const vexlink::SerialDevice& d) {
    std::string text = "SerialDevice(path=" + std::string(py::repr(py::str(d.path)));
    if (d.devicePath != d.path)
        text += ", device_path=" + std::string(py::repr(py::str(d.devicePath)));
    if (!d.driver.empty()) text += ", driver=" + std::string(py::repr(py::str(d.driver)));
    if (!d.product.empty()) text += ", product=" + std::string(py::repr(py::str(d.product)));
    if (!d.comNames.empty()) text += ", com_names=" + std::string(py::repr(py::cast(d.comNames)));
    if (d.isConsole) text += ", is_console=True";
    return text + ")";
}

}  // namespace

void definePorts(py::module_& m) {
    using vexlink::ResolvedPort;
    using vexlink::SerialDevice;

    py::class_<SerialDevice>(
        m, "SerialDevice",
        "A serial device present on this machine, as vexlink.ports() lists it. USB fields are\n"
        "None for other devices and for strings the device does not give.")
        .def_property_readonly(
            "path", [](const SerialDevice& d) { return d.path; },
            "The stable path: the /dev/serial/by-id link when it has one, else the device node.")
        .def_property_readonly(
            "device_path", [](const SerialDevice& d) { return d.devicePath; },
            "The device node, e.g. /dev/ttyUSB0.")
        .def_property_readonly(
            "kernel_name", [](const SerialDevice& d) { return d.kernelName; },
            "The kernel's name: ttyUSB0, ttyACM0, ttyS0.")
        .def_property_readonly(
            "driver", [](const SerialDevice& d) { return noneIfEmpty(d.driver); },
            "The kernel driver (ftdi_sio, cp210x, cdc_acm, serial8250), or None.")
        .def_property_readonly(
            "vendor_id", [](const SerialDevice& d) { return noneIfEmpty(d.vendorId); },
            "USB vendor id as four lower-case hex digits (\"0403\"), or None.")
        .def_property_readonly(
            "product_id", [](const SerialDevice& d) { return noneIfEmpty(d.productId); },
            "USB product id as four lower-case hex digits (\"6001\"), or None.")
        .def_property_readonly(
            "manufacturer", [](const SerialDevice& d) { return noneIfEmpty(d.manufacturer); },
            "USB manufacturer string, or None.")
        .def_property_readonly(
            "product", [](const SerialDevice& d) { return noneIfEmpty(d.product); },
            "USB product string, or None.")
        .def_property_readonly(
            "serial_number", [](const SerialDevice& d) { return noneIfEmpty(d.serialNumber); },
            "USB serial number, or None.")
        .def_property_readonly(
            "is_console", [](const SerialDevice& d) { return d.isConsole; },
            "True for the system console, which the library never opens.")
        .def_property_readonly(
            "com_names", [](const SerialDevice& d) { return d.comNames; },
            "The COM names that resolve to this device, e.g. [\"COM3\"].")
        .def("__repr__", &deviceRepr);

    py::class_<ResolvedPort>(m, "ResolvedPort",
                             "What a port name stands for, as vexlink.resolve() tells.")
        .def_property_readonly(
            "name", [](const ResolvedPort& r) { return r.name; }, "The name as given.")
        .def_property_readonly(
            "path", [](const ResolvedPort& r) { return noneIfEmpty(r.path); },
            "The device path, or None when the name is mapped to no port.")
        .def_property_readonly(
            "source",
            [](const ResolvedPort& r) { return std::string(vexlink::toString(r.source)); },
            "Where the path came from: \"path\", \"environment\", \"user map\", \"system map\" or\n"
            "\"default\".")
        .def_property_readonly(
            "origin", [](const ResolvedPort& r) { return noneIfEmpty(r.origin); },
            "Where exactly: \"VEXLINK_COM3\", \"/home/ann/.config/vexlink/ports.conf:4\",\n"
            "\"default\"; None for a path.")
        .def("__repr__", [](const ResolvedPort& r) {
            return "ResolvedPort(name=" + std::string(py::repr(py::str(r.name))) +
                   ", path=" + std::string(py::repr(noneIfEmpty(r.path))) +
                   ", source=" + std::string(py::repr(py::str(vexlink::toString(r.source)))) + ")";
        });

    m.def(
        "ports",
        [] {
            std::vector<SerialDevice> devices;
            {
                py::gil_scoped_release released;
                devices = vexlink::listSerialDevices();
            }
            flushMessages();  // a map line that cannot be read
            return devices;
        },
        "The serial devices present, as a list of SerialDevice in order of device node: the\n"
        "/dev/serial/by-id links (USB adapters), /dev/ttyUSB*, /dev/ttyACM* and the /dev/ttyS*\n"
        "with a real UART behind them. Opens no device.");

    m.def(
        "resolve",
        [](const std::string& name) {
            ResolvedPort resolved;
            {
                py::gil_scoped_release released;
                resolved = vexlink::resolvePort(name);
            }
            flushMessages();
            if (resolved.source == vexlink::PortSource::Invalid) {
                throw py::value_error("not a port name: " + name +
                                      " (use COM1 to COM4 or an absolute device path)");
            }
            return resolved;
        },
        py::arg("name"),
        "What a port name stands for, as a ResolvedPort. COM1..COM4 resolve through, first\n"
        "match winning: the environment variable VEXLINK_COMn (empty: no port), the user's map\n"
        "~/.config/vexlink/ports.conf, the system map /etc/vexlink/ports.conf, the default\n"
        "/dev/ttyS0../dev/ttyS3; an absolute path stands for itself. Raises ValueError for any\n"
        "other name.");
}

}  // namespace vexlink_python
