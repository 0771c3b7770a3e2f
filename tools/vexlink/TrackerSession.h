// One tracker held on one port for the length of a subcommand: opened and identified, put into
// the requested modes, and on every way out put back to upon-request sampling and closed with
// its reset byte.
#pragma once

#include "Options.h"

#include <vexlink/SampleStream.h>
#include <vexlink/Vexlink.h>

#include <memory>
#include <string>

namespace vexlink_cli {

class TrackerSession {
public:
    // Opens port ("COM1".."COM4" or an absolute path) and identifies the tracker. Null with a
    // one-line reason when the port cannot be opened (the library's cause and cure) or no
    // tracker answers.
    static std::unique_ptr<TrackerSession> open(const std::string& port, std::string& error);
    // Probes COM1..COM4 in turn (AutoDetectComPort) and holds the first that answers. Null
    // when none does; the library has then reported why through its message handler.
    static std::unique_ptr<TrackerSession> detect();

    // Closes the port if close() was not called.
    ~TrackerSession();
    TrackerSession(const TrackerSession&) = delete;
    TrackerSession& operator=(const TrackerSession&) = delete;

    Vexlink& link() { return link_; }
    const std::string& port() const { return port_; }

    // Switches the line speed when asked, sends the frame format and checksum mode and, when
    // continuous, starts the streaming reader (rate and 'H'). The library's fields follow what
    // was sent. False with a reason when a byte was not written.
    bool applyModes(const SampleModes& modes, std::string& error);

    // The streaming reader once continuous modes are applied; null upon request.
    vexlink::SampleStream* stream() { return stream_.get(); }

    // Ends a continuous stream ('G') and closes the port with its reset byte. False with a
    // reason when the close failed.
    bool close(std::string& error);

private:
    TrackerSession() = default;
    Vexlink link_;
    std::unique_ptr<vexlink::SampleStream> stream_;
    std::string port_;
    bool open_ = false;
};

// The device a port name stands for, for messages: the path, or for COMn "COMn (PATH)" as the
// library resolves it (<vexlink/Ports.h>).
std::string describePort(const std::string& port);

}  // namespace vexlink_cli
