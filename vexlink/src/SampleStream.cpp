// The streaming reader: sets the tracker streaming, then waits for and decodes its frames as
// they come, through the scanner, with the port in the stream's hands until Stop.
#include <vexlink/SampleStream.h>

#include "FrameScanner.h"
#include "Protocol.h"
#include "platform/CommApi.h"
#include "platform/Clock.h"
#include "platform/StreamPort.h"

#include <algorithm>

namespace vexlink {

namespace {

// A pseudo-terminal or UART wakes a waiting reader for every byte it receives (the kernel then
// finds the frame still incomplete and lets it sleep again). Once a frame has begun, its
// remaining bytes take a known time on the line, so the reader sleeps through all but the last
// kPollAheadBytes of them and polls only for those: a few wake-ups a frame instead of one a
// byte, and no later hand-out, since the poll is waiting before the last byte arrives.
constexpr int kPollAheadBytes = 2;

bool validRate(int rate) { return rate >= 5 && rate <= 75 && rate % 5 == 0; }
bool validSpeed(int speed) { return speed == 0 || speed == 9600 || speed == 19200; }

}  // namespace

struct SampleStream::State {
    explicit State(Vexlink& l) : link(l) {}
    Vexlink& link;
    StreamSettings settings;
    platform::StreamPort port;
    FrameScanner scanner;
    bool streaming = false;
};

SampleStream::SampleStream(Vexlink& link) : state_(std::make_unique<State>(link)) {}

SampleStream::~SampleStream() { Stop(); }

bool SampleStream::Start(const StreamSettings& settings) {
    State& s = *state_;
    if (s.streaming) Stop();
    if (!validRate(settings.rate) || !validSpeed(settings.speed)) return false;
    Vexlink& link = s.link;
    if (!s.port.begin(link.comHandle)) return false;

    bool ok = true;
    if (settings.speed == 9600) ok = link.Set9600() == 1;
    if (settings.speed == 19200) ok = link.Set19200() == 1;
    const char* format = settings.ascii ? protocol::kAsciiFrames : protocol::kBinaryFrames;
    ok = ok && link.SendToPort(format) == 1;
    if (ok) link.SetDataMode(format[0]);
    const bool checksum = settings.checksum && !settings.ascii;
    if (ok) ok = (checksum ? link.CheckSumOn() : link.CheckSumOff()) == 1;
    if (ok) {
        link.SetSamplingRate(settings.rate);  // reports nothing: the write count tells
        ok = link.bytesRead == 1;
    }
    // Whatever was queued belongs to no frame of this stream.
    if (ok) link.ResetFIFO();
    if (ok) ok = link.SendToPort(protocol::kContinuous) == 1;
    if (!ok) {
        link.SendToPort(protocol::kUponRequest);
        link.SetTransMode(protocol::kUponRequest[0]);
        s.port.end();
        return false;
    }
    link.SetTransMode(protocol::kContinuous[0]);
    s.port.readLineSpeed();
    s.settings = settings;
    s.scanner.reset(settings.ascii, settings.checksum);
    s.streaming = true;
    return true;
}

StreamResult SampleStream::Next(StreamSample& sample, std::chrono::milliseconds timeout) {
    State& s = *state_;
    if (!s.streaming) return StreamResult::NotStreaming;
    const auto deadline = platform::Clock::now() + timeout;
    for (;;) {
        if (s.scanner.next(sample)) return StreamResult::Sample;
        int wake = s.scanner.needed();
        const auto byteTime = s.port.byteTime();
        if (s.scanner.pending() == 0) {
            wake = 1;  // between frames: the first byte starts the frame's clock
        } else if (byteTime > platform::Clock::duration::zero() && wake > kPollAheadBytes) {
            const auto until =
                std::min(deadline, s.scanner.lastArrival() + byteTime * (wake - kPollAheadBytes));
            if (until > platform::Clock::now()) {
                platform::SleepUntil(until);
                wake = 1;  // what came meanwhile is queued: take it at once
            }
        }
        switch (s.port.wait(wake, deadline)) {
        case platform::StreamWait::Ready: break;
        case platform::StreamWait::TimedOut: return StreamResult::TimedOut;
        case platform::StreamWait::Interrupted: return StreamResult::Interrupted;
        case platform::StreamWait::Gone:
            s.port.end();
            s.streaming = false;
            return StreamResult::DeviceGone;
        }
        int got = 0;
        if (!s.port.readQueued(s.scanner.tail(), s.scanner.room(), &got)) {
            s.port.end();
            s.streaming = false;
            return StreamResult::DeviceGone;
        }
        s.scanner.added(got, platform::Clock::now());
    }
}

bool SampleStream::Stop() {
    State& s = *state_;
    if (!s.streaming) return true;
    s.streaming = false;
    Vexlink& link = s.link;
    const bool sent = link.SendToPort(protocol::kUponRequest) == 1;
    link.SetTransMode(protocol::kUponRequest[0]);
    s.port.end();
    link.ResetFIFO();
    return sent;
}

bool SampleStream::IsStreaming() const { return state_->streaming; }
bool SampleStream::LowLatency() const { return state_->port.lowLatency(); }
const StreamSettings& SampleStream::Settings() const { return state_->settings; }
const StreamCounts& SampleStream::Counts() const { return state_->scanner.counts(); }

}  // namespace vexlink
