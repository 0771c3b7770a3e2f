#include "TrackerSession.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlink_cli {

namespace {

char kAsciiFrames[] = "E";
char kBinaryFrames[] = "F";
char kUponRequest[] = "G";

std::string devicePath(const std::string& port) {
    if (port.size() == 4 && port.compare(0, 3, "COM") == 0) {
        const std::string variable = "VEXLINK_" + port;
        if (const char* value = std::getenv(variable.c_str()); value != nullptr && *value != '\0') {
            return value;
        }
        return "/dev/ttyS" + std::to_string(port[3] - '1');
    }
    return port;
}

// Why a port could not be opened, as far as the file system tells without opening it.
std::string openFailureReason(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return std::strerror(errno);
    if (access(path.c_str(), R_OK | W_OK) != 0) return std::strerror(errno);
    if (!S_ISCHR(info.st_mode)) return "not a serial device";
    return "in use by another program, or not a serial port";
}

}  // namespace

std::string describePort(const std::string& port) {
    const std::string path = devicePath(port);
    return path == port ? port : port + " (" + path + ")";
}

std::unique_ptr<TrackerSession> TrackerSession::open(const std::string& port, std::string& error) {
    std::unique_ptr<TrackerSession> session(new TrackerSession());
    session->port_ = port;
    Vexlink& link = session->link_;
    if (link.OpenCom(port.c_str()) != 1) {
        // OpenCom leaves no handle when the port did not open; with one, the port opened but
        // no tracker answered (and the library has closed it again).
        if (link.GetComHandle() == INVALID_HANDLE_VALUE) {
            error = "cannot open " + describePort(port) + ": " + openFailureReason(devicePath(port));
        } else {
            error = "no tracker answered on " + describePort(port);
        }
        return nullptr;
    }
    if (port.size() == 4 && port.compare(0, 3, "COM") == 0) link.SetPortId(port[3] - '0');
    session->open_ = true;
    return session;
}

std::unique_ptr<TrackerSession> TrackerSession::detect() {
    std::unique_ptr<TrackerSession> session(new TrackerSession());
    const int number = session->link_.AutoDetectComPort();
    if (number < 1 || number > 4) return nullptr;
    session->port_ = "COM" + std::to_string(number);
    session->open_ = true;
    return session;
}

TrackerSession::~TrackerSession() {
    std::string ignored;
    close(ignored);
}

bool TrackerSession::applyModes(const SampleModes& modes, std::string& error) {
    if (modes.continuous) {
        stream_ = std::make_unique<vexlink::SampleStream>(link_);
        vexlink::StreamSettings settings;
        settings.ascii = modes.ascii;
        settings.checksum = modes.checksum;
        settings.rate = modes.rate;
        settings.speed = modes.speed;
        if (!stream_->Start(settings)) {
            error = "cannot start continuous sampling on " + describePort(port_);
            return false;
        }
        return true;
    }
    if (modes.speed == 19200 && link_.Set19200() != 1) {
        error = "cannot switch " + describePort(port_) + " to 19200 bit/s";
        return false;
    }
    char* format = modes.ascii ? kAsciiFrames : kBinaryFrames;
    if (link_.SendToPort(format) != 1) {
        error = "cannot send the frame format to the tracker";
        return false;
    }
    link_.SetDataMode(format[0]);
    if ((modes.checksum ? link_.CheckSumOn() : link_.CheckSumOff()) != 1) {
        error = "cannot send the checksum mode to the tracker";
        return false;
    }
    return true;
}

bool TrackerSession::close(std::string& error) {
    if (!open_) return true;
    open_ = false;
    if (stream_) stream_->Stop();
    stream_.reset();
    if (link_.GetTransMode() != kUponRequest[0]) {
        link_.SendToPort(kUponRequest);  // a failure shows in the close below
        link_.SetTransMode(kUponRequest[0]);
    }
    if (link_.CloseCom(link_.GetComHandle()) != 1) {
        error = "closing " + describePort(port_) + " failed";
        return false;
    }
    return true;
}

}  // namespace vexlink_cli
