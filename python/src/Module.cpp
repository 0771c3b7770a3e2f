// The Python module vexlink.
#include "Errors.h"
#include "Messages.h"
#include "Ports.h"
#include "Sample.h"
#include "Stream.h"
#include "Tracker.h"

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdio>
#include <memory>
#include <string>

namespace py = pybind11;
using namespace vexlink_python;

namespace {

std::string portName(const py::object& port) {
    return py::str(py::module_::import("os").attr("fspath")(port));
}

std::string sampleRepr(const Sample& s) {
    const std::string raw = py::repr(py::bytes(s.raw));
    char time[32];
    std::snprintf(time, sizeof time, "%.6f", s.time);
    if (!s.pitch) {
        return std::string("Sample(verdict='") + s.verdict + "', time=" + time + ", raw=" + raw +
               ")";
    }
    return "Sample(pitch=" + std::to_string(*s.pitch) + ", yaw=" + std::to_string(*s.yaw) +
           ", roll=" + std::to_string(*s.roll) + ", time=" + time + ", raw=" + raw + ")";
}

constexpr const char* kModuleDoc = R"(The Korvisor orientation tracker on a serial port.

A Tracker holds its port from opening to close() (a second Tracker or another program using
this library cannot open it meanwhile), every wait on the line is bounded, and closing (also
by leaving a with block through an exception or Ctrl-C) puts the tracker back to upon-request
sampling and sends it its reset byte.

    import vexlink
    with vexlink.Tracker("COM3") as t:          # or a device path, or vexlink.detect()
        print(t.version)
        print(t.read())                         # one sample by request
        for s in t.stream(rate=75):             # continuous sampling
            print(s.pitch, s.yaw, s.roll, s.verdict)

Ports: "COM1" to "COM4", or an absolute device path. A COM name stands for the device that the
environment variable VEXLINK_COMn, the user's or the system's port map (ports.conf) or the
default /dev/ttyS0../dev/ttyS3 gives, first match winning: vexlink.resolve() tells which;
vexlink.ports() lists the serial devices present.

Calls block the calling thread, not the interpreter: the GIL is released while a call waits
on the port, and Ctrl-C interrupts a read or a stream within 100 ms. The library's warnings
go to the logger "vexlink".)";

}  // namespace

PYBIND11_MODULE(vexlink, m) {
    m.doc() = kModuleDoc;
    installMessageHandler();
    defineErrors(m);

    py::class_<Sample>(
        m, "Sample",
        "One sample. A failed one (verdict other than \"good\") has no angles: pitch, yaw and\n"
        "roll are None.")
        .def_property_readonly(
            "pitch", [](const Sample& s) { return s.pitch; },
            "Pitch in whole degrees (-90..269 from binary frames), or None.")
        .def_property_readonly(
            "yaw", [](const Sample& s) { return s.yaw; },
            "Yaw in whole degrees (0..719 from binary frames), or None.")
        .def_property_readonly(
            "roll", [](const Sample& s) { return s.roll; },
            "Roll in whole degrees (-90..269 from binary frames), or None.")
        .def_property_readonly(
            "time", [](const Sample& s) { return s.time; },
            "When the frame was in, in seconds of the monotonic clock (as time.monotonic()).")
        .def_property_readonly(
            "verdict", [](const Sample& s) { return std::string(s.verdict); },
            "\"good\"; \"checksum error\" (the frame's checksum did not match); \"short frame\"\n"
            "(read: the frame did not come whole, or nothing came); \"malformed\" (stream: a "
            "frame\n"
            "that did not come whole; a frame whose layout is wrong).")
        .def_property_readonly(
            "raw", [](const Sample& s) { return py::bytes(s.raw); },
            "The frame's bytes as received (from its start byte, where the format has one).")
        .def("__repr__", &sampleRepr);

    py::class_<Stream>(
        m, "Stream",
        "Continuous sampling: an iterator of Sample, one per frame the tracker sends, failed\n"
        "frames included (see Sample.verdict). It runs until close(), until the tracker is\n"
        "closed or starts another read or stream, or until the loop over it is left and the\n"
        "stream is dropped. A device that goes away (unplugged, switched off) raises Error.\n"
        "A context manager: leaving the block ends the stream.")
        .def(
            "__iter__", [](py::object self) { return self; }, "The stream itself.")
        .def("__next__", &Stream::next, "The next sample; waits for it with the GIL released.")
        .def(
            "close", &Stream::close,
            "Ends the stream: the tracker goes back to upon-request sampling; the port stays open.")
        .def(
            "__enter__", [](py::object self) { return self; }, "The stream itself.")
        .def(
            "__exit__",
            [](Stream& s, py::args) {
                s.close();
                return false;
            },
            "Ends the stream, as close().");

    py::class_<Tracker>(
        m, "Tracker",
        "A Korvisor tracker held on one port.\n\n"
        "Tracker(port) opens port (\"COM1\"..\"COM4\", or a device path as str or path-like) and\n"
        "identifies the tracker. Raises PortError when the port cannot be opened and\n"
        "NoTrackerError when no tracker answers. A context manager: leaving the with block\n"
        "closes it, as close().")
        .def(py::init(
                 [](const py::object& port) { return std::make_unique<Tracker>(portName(port)); }),
             py::arg("port"), "Opens port and identifies the tracker on it (about 50 ms).")
        .def_property_readonly("port", &Tracker::port,
                               "The port's name as given (\"COMn\" after detect()).")
        .def_property_readonly("closed", &Tracker::closed, "True once the tracker has been closed.")
        .def_property_readonly(
            "version", &Tracker::version,
            "The tracker's version text (up to 5 characters), asked for at the first use.")
        .def("close", &Tracker::close,
             "Ends a stream, puts the tracker back to upon-request sampling ('G') and closes the\n"
             "port with the tracker's reset byte ('R'). Closing a closed tracker does nothing.")
        .def("reset", &Tracker::reset,
             "Hard reset of the tracker: it returns to its power-on modes at 9600 bit/s. Ends a\n"
             "stream.")
        .def(
            "read", &Tracker::read, py::arg("ascii") = false, py::arg("checksum") = false,
            "One sample by request: a Sample (see Sample.verdict for failures).\n\n"
            "ascii: ASCII frames instead of binary ones; checksum: binary frames carry a checksum\n"
            "byte, and a mismatch gives the verdict \"checksum error\". A changed mode is sent to\n"
            "the tracker before the request. Ends a stream. Takes 20 to 130 ms, at most 300 ms.")
        .def(
            "stream",
            [](py::object self, int rate, bool checksum, bool ascii, int speed) {
                Tracker& tracker = self.cast<Tracker&>();
                const std::uint64_t id =
                    tracker.startStream(StreamModes{rate, checksum, ascii, speed});
                return std::make_unique<Stream>(self, tracker, id);
            },
            py::arg("rate") = 75, py::arg("checksum") = true, py::arg("ascii") = false,
            py::arg("speed") = 9600,
            "Starts continuous sampling and returns a Stream, an iterator of Sample.\n\n"
            "rate: samples per second, 5 to 75 in steps of 5; checksum: binary frames carry a\n"
            "checksum byte; ascii: ASCII frames; speed: line speed, 9600 or 19200 bit/s (it stays\n"
            "so until reset or close). Ends a stream started before.")
        .def(
            "__enter__", [](py::object self) { return self; }, "The tracker itself.")
        .def(
            "__exit__",
            [](Tracker& t, py::args) {
                t.close();
                return false;
            },
            "Closes the tracker, as close(), however the block was left.")
        .def("__repr__", [](const Tracker& t) {
            return "<vexlink.Tracker " + t.port() + (t.closed() ? " closed>" : " open>");
        });

    definePorts(m);

    m.def(
        "detect", &Tracker::detect,
        "Probes COM1 to COM4 in turn and returns a Tracker on the first where a tracker answers,\n"
        "or None when none does.");
}
