// A tracker held on one port: the object behind vexlink.Tracker.
//
// Every call on the link runs on the tracker's own PortWorker (see there), one at a time, so
// that the Python thread waiting for it answers Ctrl-C; only a stream's waits for its next
// frame run on the Python thread itself (in short slices, with the GIL released), so that a
// sample reaches Python the moment its frame is in. linkMutex_ keeps the two apart.
#pragma once

#include "PortWorker.h"
#include "Sample.h"

#include <vexlink/SampleStream.h>
#include <vexlink/Vexlink.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace vexlink_python {

// The modes of a stream, as vexlink.Tracker.stream takes them.
struct StreamModes {
    int rate = 75;
    bool checksum = true;
    bool ascii = false;
    int speed = 9600;
};

class Tracker {
public:
    // Opens port (COM1..COM4 or an absolute device path) and identifies the tracker on it.
    // Raises PortError when the port does not open, NoTrackerError when nothing answers.
    explicit Tracker(const std::string& port);
    // Probes COM1..COM4 in turn; the tracker on the first that answers, or null.
    static std::unique_ptr<Tracker> detect();
    // Closes the port as close() does, if it is still open. Needs the GIL.
    ~Tracker();
    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;

    const std::string& port() const { return port_; }
    bool closed() const { return !open_; }

    // Ends a stream, puts the tracker back to upon-request sampling ('G') and closes the port
    // with its reset byte ('R'). Does nothing when already closed. Ctrl-C does not cut it short.
    void close();
    // The tracker's version text, asked for once.
    std::string version();
    // Hard reset. The frame format and checksum mode are sent again before the next read.
    void reset();
    // One sample upon request, in the format and checksum mode given.
    Sample read(bool ascii, bool checksum);

    // Starts continuous sampling in the modes given (ending any stream before); the stream's
    // number.
    std::uint64_t startStream(const StreamModes& modes);
    // The next sample of stream number id; none when that stream has ended. Raises Error when
    // the device has gone away.
    std::optional<Sample> nextSample(std::uint64_t id);
    // Ends stream number id, if it is still the tracker's stream: back to upon-request sampling.
    void stopStream(std::uint64_t id);

private:
    Tracker() = default;  // holds nothing; for detect
    // Raises ValueError when the port has been closed.
    void requireOpen() const;

    // Runs call on the worker, holding linkMutex_.
    template <typename Call>
    auto onLink(Call call) -> decltype(call()) {
        return worker_.run([this, call]() mutable {
            std::lock_guard lock(linkMutex_);
            return call();
        });
    }

    // On the worker, holding linkMutex_:
    bool closeNow();
    void endStream();                           // back to upon-request sampling, if streaming
    bool sendModes(bool ascii, bool checksum);  // the format and checksum mode, when they differ
    Sample takeSample();                        // one ReadFromPort, judged

    Vexlink link_;
    std::string port_;
    std::atomic<bool> open_ = false;
    std::optional<char> formatSent_;    // 'E' or 'F' as last sent; none: unknown to us
    std::optional<bool> checksumSent_;  // checksum mode as last sent; none: unknown to us
    std::optional<std::string> version_;
    std::uint64_t stream_ = 0;  // the stream running, 0 for none
    std::uint64_t lastStream_ = 0;
    std::unique_ptr<vexlink::SampleStream> reader_;  // the streaming reader of the running stream
    std::mutex linkMutex_;                           // held by every call on the link
    PortWorker worker_;                              // last: it ends before the state its calls use
};

}  // namespace vexlink_python
