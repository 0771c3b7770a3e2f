#include "TrackerSession.h"

#include <vexlink/Ports.h>

namespace vexlink_cli {

using vexlink::kAsciiFrames;
using vexlink::kBinaryFrames;
using vexlink::kUponRequest;

std::string describePort(const std::string& port) {
    const vexlink::ResolvedPort resolved = vexlink::resolvePort(port);
    if (resolved.source == vexlink::PortSource::Path) return port;
    return port + " (" + (resolved.path.empty() ? std::string("no port") : resolved.path) + ")";
}

std::unique_ptr<TrackerSession> TrackerSession::open(const std::string& port, std::string& error) {
    std::unique_ptr<TrackerSession> session(new TrackerSession());
    session->port_ = port;
    Vexlink& link = session->link_;
    if (link.OpenCom(port.c_str()) != 1) {
        // OpenCom leaves no handle when the port did not open; with one, the port opened but
        // no tracker answered (and the library has closed it again).
        if (link.GetComHandle() == INVALID_HANDLE_VALUE) {
            error = vexlink::describePortError(vexlink::lastPortError());
        } else {
            error = "no tracker answered on " + describePort(port);
        }
        return nullptr;
    }
    // The link numbers COM1..COM4 only (on Windows any COMn opens).
    if (port.size() == 4 && port.compare(0, 3, "COM") == 0 && port[3] >= '1' && port[3] <= '4') {
        link.SetPortId(port[3] - '0');
    }
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
    const char* format = modes.ascii ? kAsciiFrames : kBinaryFrames;
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
