// SampleStream: the samples of a continuously streaming tracker, each handed out the moment
// the last byte of its frame has arrived.
//
// Vexlink::ReadFromPort takes one frame per call with fixed pauses before the body (10 ms after
// a continuous frame's header), which suits a dialog that polls. A program that streams (a head
// tracker feeding a flight simulator) wants every frame as soon as it is complete and none
// lost between two calls: SampleStream reads the byte stream as it comes and decodes frames
// out of it, the same way ReadFromPort decodes them (whole degrees: binary words w give
// yaw = w*360 >> 15 and pitch, roll = (w*180 >> 15) - 90; ASCII fields are decimal text).
//
// Use, over a link that OpenCom has opened and identified:
//
//     Vexlink link;
//     link.OpenCom("COM3");
//     vexlink::SampleStream stream(link);
//     vexlink::StreamSettings settings;          // binary, checksum on, 75 samples/s
//     if (!stream.Start(settings)) ...           // a byte could not be written
//     vexlink::StreamSample sample;
//     for (;;) {
//         switch (stream.Next(sample, std::chrono::milliseconds(500))) {
//         case vexlink::StreamResult::Sample:      // sample.verdict says good or not
//         case vexlink::StreamResult::TimedOut:    // nothing complete within the time-out
//         case vexlink::StreamResult::Interrupted: // a signal came: check the stop flag
//             break;
//         case vexlink::StreamResult::DeviceGone:  // unplugged or switched off: close, reopen
//         case vexlink::StreamResult::NotStreaming: ...
//         }
//     }
//     stream.Stop();                             // 'G': back to upon-request sampling
//     link.CloseCom(link.GetComHandle());        // 'R' and close
//
// Waiting. Next waits in the kernel (poll) for the first byte of a frame; once a frame has
// begun, the rest of it takes a known time on the line, so Next sleeps through all but its last
// two bytes and then polls with the terminal's wake-up held until the bytes still missing are
// queued (VMIN): a few wake-ups a frame instead of one per byte, and the frame is handed out as
// its last byte is read, stamped with the monotonic time of that read. Every wait is bounded by
// Next's time-out; no loop spins. Frames already complete in the buffer are handed out at once.
//
// USB adapters. Start asks the port's driver for low-latency mode where it offers one (on
// Linux ASYNC_LOW_LATENCY through TIOCSSERIAL: an FTDI adapter otherwise holds received bytes
// for up to 16 ms before passing them on, its latency timer; in low-latency mode it passes
// them on after 1 ms). Ports without it (pseudo-terminals, built-in UARTs, other drivers) are
// streamed as they are. Stop puts the port's former setting back.
//
// Frames and verdicts. Every frame the stream finds gets one verdict and is counted:
//   Good           complete, laid out as its format requires, and (binary with checksum) its
//                  checksum byte matches: the angles are valid.
//   ChecksumError  a complete binary frame whose checksum byte does not match.
//   Malformed      a frame that did not come whole (a byte lost, a byte too many) or, in ASCII,
//                  whose text is not three signed decimal fields in their places.
// Bytes outside any frame (line noise before a start byte, a frame whose start byte was lost)
// are skipped and counted in StreamCounts::skippedBytes. After a fault the stream falls back
// into step on the next start byte without losing the next whole frame: a 0xFF inside a
// binary frame's words is not taken for a start byte, because a frame is accepted only where
// its length, its checksum and the start byte of the frame after it agree. Where a frame can
// only be told apart from a misread one by the frame that follows, it is handed out when the
// following start byte has come (this happens only right after a fault, or when a frame
// carries 0xFF in its words, which yaw does near 359 degrees).
//
// Ending. A device that goes away (an unplugged adapter, a hung-up line) ends the stream with
// StreamResult::DeviceGone at once; the caller closes the link and may open it again and call
// Start anew. Stop, and the destructor when Stop was not called, send 'G' so that the tracker
// returns to upon-request sampling, and leave the link's fields saying so.
//
// Cost. Start allocates the stream's buffer once; Next allocates nothing and copies no more
// than the bytes of the frame it hands out.
//
// Threads. A stream and its link are used from one thread at a time, and no ReadFromPort may
// run on the link while the stream is started.
#pragma once

#include <vexlink/Vexlink.h>

#include <chrono>
#include <cstdint>
#include <memory>

namespace vexlink {

// What Start asks the tracker for.
struct StreamSettings {
    bool ascii = false;    // ASCII frames ('E') instead of binary frames ('F')
    bool checksum = true;  // binary frames carry a checksum byte ('M'), and it is tested; 'N' when
                           // false. ASCII frames carry none: 'N' is sent with ascii.
    int rate = 75;         // samples per second, 5 to 75 in steps of 5: the rate byte before 'H'.
                           // It applies to ASCII frames too (the stream sends no sample requests).
    int speed = 0;         // 9600 or 19200: switch the line (Set9600 / Set19200) before streaming;
                           // 0 keeps the link's present speed.
};

enum class FrameVerdict : std::uint8_t { Good, ChecksumError, Malformed };

// The longest frame: an ASCII frame, 20 bytes.
inline constexpr int kMaxFrameBytes = 20;

// One frame as the stream found it.
struct StreamSample {
    int pitch = 0;  // whole degrees, valid when verdict is Good (otherwise 0)
    int yaw = 0;
    int roll = 0;
    FrameVerdict verdict = FrameVerdict::Good;
    // Monotonic time (steady_clock, CLOCK_MONOTONIC on Linux) at which the frame's last byte
    // was read from the port.
    std::chrono::steady_clock::time_point arrival{};
    // The frame's bytes as received, from its start byte (0xFF or 'Y') on: 8 or 9 binary, 20
    // ASCII; for a Malformed frame the bytes taken as that frame (at most kMaxFrameBytes).
    int size = 0;
    std::uint8_t bytes[kMaxFrameBytes] = {};
};

// Totals since Start.
struct StreamCounts {
    std::uint64_t good = 0;
    std::uint64_t checksumErrors = 0;
    std::uint64_t malformed = 0;
    std::uint64_t skippedBytes = 0;  // bytes that belonged to no frame
    std::uint64_t frames() const { return good + checksumErrors + malformed; }
};

enum class StreamResult {
    Sample,        // one frame was handed out (good or not: see its verdict)
    TimedOut,      // no frame was completed within the time-out
    Interrupted,   // a signal interrupted the wait (POSIX); the caller decides whether to go on
    DeviceGone,    // the port's device has gone away; the stream is stopped
    NotStreaming,  // Start has not succeeded, or the stream was stopped
};

class VEXLINK_API SampleStream {
public:
    // Binds the stream to link, which must outlive it. Sends nothing.
    explicit SampleStream(Vexlink& link);
    // Stops the stream when it is still started.
    ~SampleStream();
    SampleStream(const SampleStream&) = delete;
    SampleStream& operator=(const SampleStream&) = delete;

    // Switches the speed when settings.speed asks for it, sends the frame format ('E'/'F'), the
    // checksum mode ('M'/'N'), the rate byte and 'H', and sets the link's
    // dataMode, transMode, checkStatus and samplingRate to match. Empties the input queue, asks
    // for low-latency mode, and resets the counts. false when the link has no open port, the
    // settings are out of range (rate, speed), or a byte could not be written; the tracker
    // is then sent 'G' so that it does not go on streaming.
    bool Start(const StreamSettings& settings);

    // Waits at most timeout for the next frame and hands it out in sample (its verdict says
    // whether its angles are valid). sample is written only with StreamResult::Sample. A zero
    // time-out takes only what has already arrived.
    StreamResult Next(StreamSample& sample, std::chrono::milliseconds timeout);

    // Sends 'G' (upon-request sampling), sets the link's transMode to 'G', empties the input
    // queue and puts back the port settings Start changed. Does not close the port. false when
    // the 'G' could not be written (a device that has gone). Does nothing when not started.
    bool Stop();

    bool IsStreaming() const;
    // True when the port's driver took low-latency mode at Start.
    bool LowLatency() const;
    const StreamSettings& Settings() const;
    const StreamCounts& Counts() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace vexlink
