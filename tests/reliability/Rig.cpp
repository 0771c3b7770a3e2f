#include "Rig.h"

#include <TrackerModes.h>

#include <korvisor/FrameCodec.h>

#include "FaultInjector.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <utility>
#include <vector>

namespace reliability {

namespace {

using Bytes = std::vector<std::uint8_t>;

int lowSum(const std::uint8_t* body) { return (body[1] + body[3] + body[5]) & 0xFF; }

bool decodesTo(const std::uint8_t* body, const korvisor::Pose& pose) {
    auto word = [&](int i) { return static_cast<std::uint16_t>(body[i] << 8 | body[i + 1]); };
    return korvisor::yawOfWord(word(0)) == pose.yaw &&
           korvisor::tiltOfWord(word(2)) == pose.pitch &&
           korvisor::tiltOfWord(word(4)) == pose.roll;
}

// Would a continuous read with checksum, synchronising on any 0xFF of stream, accept a body
// that does not decode to pose?
bool streamFoolsReader(const Bytes& stream, const korvisor::Pose& pose) {
    for (std::size_t i = 0; i + 9 <= stream.size(); ++i) {
        if (stream[i] != 0xFF) continue;
        const std::uint8_t* body = &stream[i + 2];
        if (body[6] == lowSum(body) && !decodesTo(body, pose)) return true;
    }
    return false;
}

bool guarded(const korvisor::Pose& pose, int dropEvery) {
    const Bytes stream = korvisor::encodeFrame(pose, {'F', true, true});
    const Bytes request = korvisor::encodeFrame(pose, {'F', false, true});
    if (std::count(stream.begin(), stream.end(), 0xFF) != 1) return false;
    // A stream that loses every dropEvery-th byte, whatever the count stood at when it began.
    for (int offset = 0; offset < dropEvery; ++offset) {
        Bytes lossy;
        long sent = offset;
        for (int frame = 0; frame < 3 * dropEvery; ++frame)
            for (std::uint8_t b : stream)
                if (++sent % dropEvery != 0) lossy.push_back(b);
        if (streamFoolsReader(lossy, pose)) return false;
    }
    // A request's reply behind stray bytes, at every phase of the stray-byte cycle.
    constexpr std::size_t cycle = sizeof korvisor::kGarbage;
    for (std::size_t phase = 0; phase < cycle; ++phase) {
        Bytes reply;
        for (int g = 0; g < korvisor::kGarbagePerFrame; ++g)
            reply.push_back(korvisor::kGarbage[(phase + static_cast<std::size_t>(g)) % cycle]);
        reply.insert(reply.end(), request.begin(), request.end());
        if (reply[6] == lowSum(reply.data()) && !decodesTo(reply.data(), pose)) return false;
    }
    return true;
}

}  // namespace

korvisor::Pose guardedPose() {
    static const korvisor::Pose pose = [] {
        for (int step = 0; step < 200; ++step) {
            const korvisor::Pose candidate{-20 + step, 100 + 2 * step, 15 + 3 * step};
            if (guarded(candidate, 7) && guarded(candidate, 11)) return candidate;
        }
        throw std::logic_error("no guarded pose");
    }();
    return pose;
}

korvisor::Simulator& Ports::tracker(int n, korvisor::Options options) {
    if (!options.fixedPose) options.fixedPose = guardedPose();
    return attach(n, std::move(options));
}

int openCom3(Vexlink& link) {
    if (!link.OpenCom("COM3")) return 0;
    link.SetPortId(3);
    return 1;
}

void enterMode(Vexlink& link, korvisor::Simulator& sim, const Mode& mode) {
    testsupport::chooseFormat(link, sim, mode.ascii, mode.checksum, milliseconds(1000));
    if (mode.continuous) testsupport::startStream(link, sim, mode.rate, milliseconds(1000));
}

void leaveStream(Vexlink& link, korvisor::Simulator& sim) {
    testsupport::stopStream(link, sim, milliseconds(1000));
}

double threadCpuMs() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

int openDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') ++count;
        closedir(dir);
        --count;  // the directory's own descriptor
    }
    return count;
}

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

namespace {

void readOnce(Vexlink& link, const Mode& mode, const korvisor::Pose& pose, ReadLog& log,
              Clock::duration paceFailures) {
    int before[3], after[3];
    link.Get_PYR(&before[0], &before[1], &before[2]);
    const auto start = Clock::now();
    const int result = link.ReadFromPort();
    log.longest = std::max(log.longest, Clock::now() - start);
    if (!result) std::this_thread::sleep_until(start + paceFailures);
    link.Get_PYR(&after[0], &after[1], &after[2]);
    ++log.calls;
    const bool changed = before[0] != after[0] || before[1] != after[1] || before[2] != after[2];
    const bool afterShort = std::exchange(log.lastShort, false);
    if (result) {
        ++log.good;
        if (after[0] != pose.pitch || after[1] != pose.yaw || after[2] != pose.roll) {
            ++log.wrongAngles;
            if (afterShort) ++log.wrongAfterShort;
        }
        return;
    }
    if (changed) ++log.changedOnFailure;
    const int fullBody = vexlink::wholeBodyLength(mode.ascii, mode.checksum);
    if (!mode.ascii && mode.checksum && link.GetBytesRead() == fullBody) {
        ++log.checksumErrors;
    } else {
        ++log.shortFrames;
        log.lastShort = true;
    }
}

template <typename More>
ReadLog readWhile(Vexlink& link, const Mode& mode, const korvisor::Pose& pose, More more,
                  Clock::duration paceFailures = Clock::duration::zero()) {
    ReadLog log;
    const double cpuStart = threadCpuMs();
    const auto start = Clock::now();
    do readOnce(link, mode, pose, log, paceFailures);
    while (more(log, Clock::now() - start));
    log.wallMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    log.cpuMs = threadCpuMs() - cpuStart;
    return log;
}

}  // namespace

ReadLog readFor(Vexlink& link, const Mode& mode, const korvisor::Pose& pose,
                Clock::duration duration, Clock::duration paceFailures) {
    return readWhile(
        link, mode, pose,
        [&](const ReadLog&, Clock::duration elapsed) { return elapsed < duration; }, paceFailures);
}

ReadLog readTimes(Vexlink& link, const Mode& mode, const korvisor::Pose& pose, int count) {
    return readWhile(link, mode, pose,
                     [&](const ReadLog& log, Clock::duration) { return log.calls < count; });
}

int unexplainedWrong(const ReadLog& log, const Mode& mode) {
    if (mode.ascii || mode.checksum) return log.wrongAngles;
    return log.wrongAngles - log.wrongAfterShort;
}

std::string describe(const ReadLog& log) {
    std::ostringstream out;
    out << log.calls << " calls: " << log.good << " good, " << log.shortFrames << " short, "
        << log.checksumErrors << " checksum errors, " << log.wrongAngles << " wrong angles ("
        << log.wrongAfterShort << " right after a short frame), " << log.changedOnFailure
        << " failures that changed the angles; longest "
        << std::chrono::duration<double, std::milli>(log.longest).count() << " ms; CPU "
        << log.cpuMs << " of " << log.wallMs << " ms";
    return out.str();
}

}  // namespace reliability
