// What the reliability cases share: simulated trackers bound to COM1..COM4, a pose that a
// corrupted frame cannot pass for, settled commands, and a read loop that records how every
// call behaved (how long it took, what it cost the CPU, what it left in the object).
#pragma once

#include <vexlink/Vexlink.h>
#include "ComPorts.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace reliability {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Every call must end within the library's bound; the slack absorbs a loaded test machine.
inline constexpr auto kSlack = milliseconds(200);
inline constexpr auto kReadLimit = milliseconds(Vexlink::kReadBoundMs) + kSlack;

// A fixed pose chosen so that no frame built from it can pass for a good one after losing
// any one byte or after taking the line's stray bytes into its body: such a frame either
// comes short or fails its checksum. Every good sample therefore decodes to this pose.
korvisor::Pose guardedPose();

// COM1..COM4: each a simulated tracker or a path that does not exist (never the host's own
// ports). Restores the environment on destruction.
class Ports : public testsupport::ComPorts {
public:
    Ports() : ComPorts("/nonexistent/vexlink-reliability/COM") {}

    // A tracker that sends guardedPose() unless options fix another pose.
    korvisor::Simulator& tracker(int n, korvisor::Options options = {});
};

// Runs send, which writes `bytes` command bytes, and waits (up to a second) until the tracker
// has taken them, so that the reads that follow find the tracker already in its new mode.
inline void settled(korvisor::Simulator& sim, int bytes, const std::function<void()>& send) {
    testsupport::settled(sim, bytes, send, milliseconds(1000));
}

struct Mode {
    const char* name;
    bool ascii;
    bool checksum;
    bool continuous;
    int rate = 40;
};
inline void PrintTo(const Mode& mode, std::ostream* out) { *out << mode.name; }

// Opens COM3 (a tracker) like the console does after detection: 1 on success.
int openCom3(Vexlink& link);
// Puts the tracker and the object into mode; the commands have reached the tracker on return.
void enterMode(Vexlink& link, korvisor::Simulator& sim, const Mode& mode);
// Back to upon-request sampling.
void leaveStream(Vexlink& link, korvisor::Simulator& sim);

double threadCpuMs();
int openDescriptors();
long residentKb();

// What a run of ReadFromPort calls did.
struct ReadLog {
    int calls = 0;
    int good = 0;            // returned 1
    int shortFrames = 0;     // returned 0 below the full body length
    int checksumErrors = 0;  // returned 0 at the full body length (binary, checksum on)
    int wrongAngles = 0;     // returned 1 with angles other than the pose
    // ... of which right after a short frame. Upon request without a checksum, the late rest
    // of a short frame arrives after the next read's purge and shifts that read's frame: a
    // limit of the protocol, which only the checksum can catch.
    int wrongAfterShort = 0;
    bool lastShort = false;
    int changedOnFailure = 0;   // returned 0 but changed the angles
    Clock::duration longest{};  // the slowest call
    double wallMs = 0;
    double cpuMs = 0;  // of the calling thread
};

// Reads until `duration` has passed (at least one call), checking each call against pose.
// With paceFailures, a failed read that ended sooner is followed by a wait until that long
// after its start, as a caller paces a stream (the console by its timer): a read on a device
// that has gone away fails at once, and an unpaced loop of them would spin in the caller.
ReadLog readFor(Vexlink& link, const Mode& mode, const korvisor::Pose& pose,
                Clock::duration duration, Clock::duration paceFailures = Clock::duration::zero());
// Reads `count` times.
ReadLog readTimes(Vexlink& link, const Mode& mode, const korvisor::Pose& pose, int count);

std::string describe(const ReadLog& log);

// Wrong samples that nothing in the protocol explains: in checksum and ASCII modes any
// wrong sample at all, otherwise those that did not follow a short frame.
int unexplainedWrong(const ReadLog& log, const Mode& mode);

}  // namespace reliability
