// The sample reader: one frame per call, by request or picked out of the continuous stream,
// decoded into whole degrees. Fixed buffers and integer arithmetic only: nothing is allocated.
#include <vexlink/Vexlink.h>

#include <chrono>
#include <cstring>

#include "FrameFormat.h"
#include "Protocol.h"
#include "ReadTiming.h"
#include "platform/Clock.h"
#include "platform/CommApi.h"

namespace frame = vexlink::frame;
namespace platform = vexlink::platform;
namespace protocol = vexlink::protocol;
namespace timing = vexlink::timing;
using platform::Clock;
using std::chrono::milliseconds;

namespace {

// Working copy of an ASCII frame, split into its fields in place. One for the whole process:
// reads must not run concurrently, even on different objects.
unsigned char asciiBuffer[30];

// Reads single bytes until `start` arrives and leaves it in dataBuffer[0]; the bytes before it
// are dropped. Gives up (false) when the device fails, or when one more single-byte read might
// not end by searchEnd. A read that comes back empty before its time-out is waited out, so
// that a port without time-outs cannot make this loop spin.
bool awaitStartByte(Vexlink& link, unsigned char start, Clock::time_point searchEnd) {
    const milliseconds oneByte(timing::readLimitMs(1));
    for (;;) {
        const Clock::time_point before = Clock::now();
        if (before + oneByte > searchEnd) return false;
        unsigned char byte = 0;
        DWORD got = 0;
        const bool ok = platform::ReadFile(link.comHandle, &byte, 1, &got);
        link.bytesRead = got;
        if (got == 1 && byte == start) {
            link.dataBuffer[0] = byte;
            return true;
        }
        if (!ok) return false;
        if (got == 0) platform::SleepUntil(before + oneByte);
    }
}

// One read call of n bytes into `into`; bytesRead takes the count. True when all n came.
bool readBody(Vexlink& link, unsigned char* into, int n) {
    DWORD got = 0;
    platform::ReadFile(link.comHandle, into, static_cast<DWORD>(n), &got);
    link.bytesRead = got;
    return got == static_cast<DWORD>(n);
}

}  // namespace

int Vexlink::ReadFromPort() {
    const Clock::time_point callStart = Clock::now();
    std::memset(dataBuffer, 0, sizeof dataBuffer);
    ResetFIFO();

    if (dataMode != protocol::kBinaryFrames[0]) {
        std::memset(asciiBuffer, 0, sizeof asciiBuffer);
        if (transMode != '\0') SendToPort(protocol::kSampleRequest);
        platform::Sleep(timing::kAfterRequestMs);
        if (!awaitStartByte(*this, frame::kAsciiStart,
                            callStart + milliseconds(timing::kAsciiSearchMs))) {
            bytesRead = 0;
            return 0;
        }
        platform::Sleep(timing::kAfterAsciiStartMs);
        const bool whole = readBody(*this, dataBuffer + 1, frame::kAsciiBodyLength);
        const bool wellFormed = whole && frame::asciiLayoutHolds(dataBuffer);
        // Every read, short, malformed or good, leaves the frame's text ending at position 18.
        dataBuffer[frame::kAsciiEndAt] = 0;
        // A short frame fails with bytesRead below 19; a malformed one (bytes lost on the line
        // and filled up by the next frame) with bytesRead at 19. Neither is a sample.
        if (!wellFormed) return 0;

        // The layout holds, so the text has no NUL before position 18 and every field is a
        // number; the separators are cut out so that no field runs on into the next.
        std::memcpy(asciiBuffer, dataBuffer, frame::kAsciiEndAt);
        asciiBuffer[frame::kAsciiPitchAt - 1] = 0;
        asciiBuffer[frame::kAsciiRollAt - 1] = 0;
        asciiBuffer[frame::kAsciiEndAt] = 0;

        yaw = frame::parseField(asciiBuffer + frame::kAsciiYawAt, frame::kAsciiFieldWidth);
        pitch = frame::parseField(asciiBuffer + frame::kAsciiPitchAt, frame::kAsciiFieldWidth);
        roll = frame::parseField(asciiBuffer + frame::kAsciiRollAt, frame::kAsciiFieldWidth);
        return 1;
    }

    const bool uponRequest = transMode == protocol::kUponRequest[0];
    unsigned char* body = uponRequest ? dataBuffer : dataBuffer + frame::kBinaryHeaderLength;
    const int bodyLength = checkStatus ? frame::kBinaryBodyWithChecksum : frame::kBinaryBodyLength;

    if (uponRequest) {
        SendToPort(protocol::kSampleRequest);
        platform::Sleep(timing::kAfterRequestMs);
    } else {
        if (!awaitStartByte(*this, frame::kBinaryStart,
                            callStart + milliseconds(timing::kContinuousSearchMs))) {
            bytesRead = 0;
            return 0;
        }
        // The second header byte is stored, never examined. Without it no body can follow.
        DWORD got = 0;
        platform::ReadFile(comHandle, dataBuffer + 1, 1, &got);
        if (got != 1) {
            bytesRead = 0;
            return 0;
        }
        platform::Sleep(timing::kAfterHeaderMs);
    }

    // A body that did not come whole is no sample: bytesRead below the full body length tells
    // the caller so, as a full length with a failed checksum tells a mismatch.
    if (!readBody(*this, body, bodyLength)) return 0;
    if (checkStatus) {
        checkByte = body[frame::kChecksumPosition];
        if (!DoCheckSum()) return 0;
    }
    if (!uponRequest) bytesRead += frame::kBinaryHeaderLength;

    yaw = frame::yawDegrees(frame::wordAt(body));
    pitch = frame::tiltDegrees(frame::wordAt(body + 2));
    roll = frame::tiltDegrees(frame::wordAt(body + 4));
    return 1;
}

void Vexlink::Get_PYR(int* pitchOut, int* yawOut, int* rollOut) {
    *pitchOut = pitch;
    *yawOut = yaw;
    *rollOut = roll;
}

int Vexlink::DoCheckSum() {
    // Low bytes at 1, 3, 5 upon request; behind the two header bytes in continuous mode.
    const int firstLow =
        transMode == protocol::kUponRequest[0] ? 1 : 1 + frame::kBinaryHeaderLength;
    return checkByte == frame::lowByteSum(dataBuffer, firstLow) ? 1 : 0;
}
