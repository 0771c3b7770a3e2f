#include "Tracker.h"

#include "Errors.h"
#include "Messages.h"
#include "OpenFailure.h"

#include <pybind11/pybind11.h>

#include <chrono>
#include <thread>

namespace py = pybind11;

namespace vexlink_python {

namespace {

using Clock = std::chrono::steady_clock;  // CLOCK_MONOTONIC, the clock of time.monotonic()

// Command letters this module sends itself through SendToPort.
constexpr char kAsciiFrames = 'E';
constexpr char kBinaryFrames = 'F';
constexpr char kUponRequest = 'G';

bool send(Vexlink& link, char command) {
    char text[] = {command, '\0'};
    return link.SendToPort(text) == 1;
}

// ReadFromPort shares one buffer among all objects: one read at a time in the process, also
// from trackers on different Python threads.
std::mutex readerMutex;

// A failed read that came back at once (a device that has gone away) is made to last this
// long, so that reading in a loop over a dead port never spins.
constexpr auto kMinFailedReadTime = std::chrono::milliseconds(10);

// Full body lengths: a failed read that got less did not come whole.
constexpr int kAsciiBody = 19;
constexpr int kBinaryBody = 6;
constexpr int kBinaryBodyWithChecksum = 7;

double seconds(Clock::time_point at) {
    return std::chrono::duration<double>(at.time_since_epoch()).count();
}

}  // namespace

Tracker::Tracker(const std::string& port) : port_(port) {
    struct Opened {
        bool ok = false;
        bool answered = false;  // the port opened; with ok false, nothing answered
        PortFailure failure;
    };
    Opened opened;
    try {
        opened = onLink([this] {
            Opened result;
            if (link_.OpenCom(port_.c_str()) == 1) {
                if (port_.size() == 4 && port_.compare(0, 3, "COM") == 0)
                    link_.SetPortId(port_[3] - '0');
                open_ = true;
                result.ok = true;
                return result;
            }
            // Without a handle the port did not open; with one, nothing answered and the
            // library has closed it again.
            result.answered = link_.GetComHandle() != INVALID_HANDLE_VALUE;
            if (!result.answered) result.failure = lastOpenFailure(port_);  // kept per thread
            return result;
        });
    } catch (py::error_already_set&) {
        close();  // Ctrl-C: the open goes on to its end; what it opened is closed again
        throw;
    }
    flushMessages();
    if (opened.ok) return;
    if (!opened.answered) raisePortError(opened.failure);
    raiseNoTracker(noTrackerMessage(port_));
}

std::unique_ptr<Tracker> Tracker::detect() {
    std::unique_ptr<Tracker> tracker(new Tracker());
    Tracker& t = *tracker;
    // Ctrl-C leaves the probe running; whatever it opens, the tracker's destructor closes.
    const bool found = t.onLink([&t] {
        const int number = t.link_.AutoDetectComPort();
        if (number < 1 || number > 4) return false;
        t.port_ = "COM" + std::to_string(number);
        t.open_ = true;
        return true;
    });
    // "Korvisor not available" needs no telling: the result says so.
    discardMessages();
    return found ? std::move(tracker) : nullptr;
}

Tracker::~Tracker() {
    try {
        close();
    } catch (py::error_already_set& error) {
        error.discard_as_unraisable(__func__);
    }
}

void Tracker::requireOpen() const {
    if (!open_) throw py::value_error("I/O operation on a closed tracker");
}

void Tracker::close() {
    // On the worker even when closed already: a call that Ctrl-C left running may open the port.
    const bool closed = worker_.runToEnd([this] {
        std::lock_guard lock(linkMutex_);
        return closeNow();
    });
    flushMessages();
    if (!closed) raiseError("closing " + port_ + " failed");
}

bool Tracker::closeNow() {
    if (!open_) return true;
    open_ = false;
    // Back to upon-request sampling: by the stream's own stop, else by 'G' here, whatever mode
    // a call cut short by Ctrl-C left.
    if (stream_ != 0) {
        endStream();
    } else {
        send(link_, kUponRequest);
        link_.SetTransMode(kUponRequest);
    }
    return link_.CloseCom(link_.GetComHandle()) == 1;
}

bool Tracker::sendModes(bool ascii, bool checksum) {
    const char format = ascii ? kAsciiFrames : kBinaryFrames;
    if (formatSent_ != format) {
        formatSent_.reset();
        if (!send(link_, format)) return false;
        link_.SetDataMode(format);
        formatSent_ = format;
    }
    if (checksumSent_ != checksum) {
        checksumSent_.reset();
        if ((checksum ? link_.CheckSumOn() : link_.CheckSumOff()) != 1) return false;
        checksumSent_ = checksum;
    }
    return true;
}

Sample Tracker::takeSample() {
    const Clock::time_point before = Clock::now();
    int result = 0;
    {
        std::lock_guard lock(readerMutex);
        result = link_.ReadFromPort();
    }
    const Clock::time_point after = Clock::now();

    Sample sample;
    sample.time = seconds(after);
    const bool ascii = link_.GetDataMode() != kBinaryFrames;
    const int count = link_.GetBytesRead();
    const unsigned char* buffer = link_.GetDataBuffer();

    // What arrived: a binary frame as counted; an ASCII frame from its 'Y', which the count
    // leaves out.
    int length = count;
    if (ascii) length = buffer[0] == 'Y' ? 1 + count : 0;
    sample.raw.assign(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));

    if (result == 1) {
        int pitch = 0, yaw = 0, roll = 0;
        link_.Get_PYR(&pitch, &yaw, &roll);
        sample.pitch = pitch;
        sample.yaw = yaw;
        sample.roll = roll;
        sample.verdict = "good";
        return sample;
    }
    const int fullBody =
        ascii ? kAsciiBody : (link_.GetCheckStatus() ? kBinaryBodyWithChecksum : kBinaryBody);
    if (count < fullBody) {
        sample.verdict = "short frame";
    } else {
        sample.verdict = ascii ? "malformed" : "checksum error";
    }
    if (after - before < kMinFailedReadTime)
        std::this_thread::sleep_until(before + kMinFailedReadTime);
    return sample;
}

std::string Tracker::version() {
    requireOpen();
    if (version_) return *version_;
    const std::optional<std::string> text = onLink([this]() -> std::optional<std::string> {
        endStream();  // a reply amid frames could not be told from them
        const char* reply = link_.Get_Version();
        if (reply == nullptr) return std::nullopt;
        return std::string(reply);
    });
    flushMessages();
    if (!text) raiseError("the version request to " + port_ + " failed");
    version_ = text;
    return *text;
}

void Tracker::reset() {
    requireOpen();
    onLink([this] {
        endStream();
        const int done = link_.HardReset();
        // The tracker is back at its power-on modes; the next read says what it wants.
        formatSent_.reset();
        checksumSent_.reset();
        link_.SetTransMode(kUponRequest);
        return done;
    });
    flushMessages();
}

Sample Tracker::read(bool ascii, bool checksum) {
    requireOpen();
    const std::optional<Sample> sample = onLink([this, ascii, checksum]() -> std::optional<Sample> {
        endStream();
        if (!sendModes(ascii, checksum)) return std::nullopt;
        return takeSample();
    });
    flushMessages();
    if (!sample) raiseError("cannot send the sampling modes to the tracker on " + port_);
    return *sample;
}

void Tracker::stopStream(std::uint64_t id) {
    if (!open_) return;
    worker_.runToEnd([this, id] {
        std::lock_guard lock(linkMutex_);
        if (stream_ == id) endStream();
        return true;
    });
    flushMessages();
}

namespace {

void checkStreamModes(const StreamModes& modes) {
    if (modes.rate < 5 || modes.rate > 75 || modes.rate % 5 != 0) {
        throw py::value_error("rate must be one of 5, 10, ... 75 samples per second");
    }
    if (modes.speed != 9600 && modes.speed != 19200)
        throw py::value_error("speed must be 9600 or 19200");
}

}  // namespace

// Continuous sampling through the library's streaming reader: each frame handed out as soon as
// its last byte is in, stamped with the time that byte was read.

namespace {

// The longest a wait for the next frame goes on before Python's signal handlers run.
constexpr std::chrono::milliseconds kFrameWaitSlice(PortWorker::kSignalCheckMs);

const char* verdictText(vexlink::FrameVerdict verdict) {
    switch (verdict) {
    case vexlink::FrameVerdict::Good: return "good";
    case vexlink::FrameVerdict::ChecksumError: return "checksum error";
    case vexlink::FrameVerdict::Malformed: return "malformed";
    }
    return "malformed";
}

Sample toSample(const vexlink::StreamSample& frame) {
    Sample sample;
    if (frame.verdict == vexlink::FrameVerdict::Good) {
        sample.pitch = frame.pitch;
        sample.yaw = frame.yaw;
        sample.roll = frame.roll;
    }
    sample.verdict = verdictText(frame.verdict);
    sample.time = seconds(frame.arrival);
    sample.raw.assign(reinterpret_cast<const char*>(frame.bytes),
                      static_cast<std::size_t>(frame.size));
    return sample;
}

}  // namespace

void Tracker::endStream() {
    if (stream_ == 0) return;
    stream_ = 0;
    if (reader_) reader_->Stop();  // sends 'G'
    reader_.reset();
}

std::uint64_t Tracker::startStream(const StreamModes& modes) {
    requireOpen();
    checkStreamModes(modes);
    const std::uint64_t id = onLink([this, modes]() -> std::uint64_t {
        endStream();
        auto reader = std::make_unique<vexlink::SampleStream>(link_);
        vexlink::StreamSettings settings;
        settings.ascii = modes.ascii;
        settings.checksum = modes.checksum;
        settings.rate = modes.rate;
        settings.speed = modes.speed;
        // Start sends the format, and for binary frames the checksum mode; a failed Start may
        // have sent some of them.
        formatSent_.reset();
        checksumSent_.reset();
        if (!reader->Start(settings)) return 0;
        formatSent_ = modes.ascii ? kAsciiFrames : kBinaryFrames;
        if (!modes.ascii) checksumSent_ = modes.checksum;
        reader_ = std::move(reader);
        stream_ = ++lastStream_;
        return stream_;
    });
    flushMessages();
    if (id == 0) raiseError("cannot start continuous sampling on " + port_);
    return id;
}

std::optional<Sample> Tracker::nextSample(std::uint64_t id) {
    for (;;) {
        vexlink::StreamSample frame;
        vexlink::StreamResult result = vexlink::StreamResult::NotStreaming;
        {
            py::gil_scoped_release released;
            std::lock_guard lock(linkMutex_);
            if (open_ && id != 0 && stream_ == id && reader_) {
                result = reader_->Next(frame, kFrameWaitSlice);
                if (result == vexlink::StreamResult::DeviceGone) {
                    stream_ = 0;
                    reader_.reset();
                }
            }
        }
        switch (result) {
        case vexlink::StreamResult::Sample: return toSample(frame);
        case vexlink::StreamResult::TimedOut:
        case vexlink::StreamResult::Interrupted:
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
            break;
        case vexlink::StreamResult::DeviceGone:
            flushMessages();
            raiseError("the device of " + port_ + " has gone away (unplugged or switched off)");
        case vexlink::StreamResult::NotStreaming: return std::nullopt;
        }
    }
}

}  // namespace vexlink_python
