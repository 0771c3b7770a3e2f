// The simulator's thread: it waits on the pseudo-terminal's master and on a wake-up event,
// judges and acts on the bytes the host sends, paces the tracker's answers and stream out,
// and carries out the scheduled faults. All state is guarded by one mutex, which the thread
// releases while it waits.
#include <korvisor/Simulator.h>

#include "DeviceLink.h"
#include "FaultInjector.h"
#include "OutputLine.h"
#include "PoseSource.h"
#include "RxLog.h"
#include "SpeedJudge.h"
#include "TrackerEngine.h"

#include <ptykit/PtyPair.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>
#include <poll.h>
#include <sys/ioctl.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <thread>
#include <time.h>
#include <utility>
#include <unistd.h>

namespace korvisor {

namespace {

// How long a change of the host's speed waits for the switch command that explains it.
constexpr auto kSwitchGrace = std::chrono::milliseconds(10);
// The longest the thread sleeps with nothing to do (it is woken for everything it must see).
constexpr auto kIdleWait = std::chrono::seconds(1);
// How often the host's line speed is sampled while no byte is waiting to be judged.
constexpr auto kHostSpeedSample = std::chrono::milliseconds(2);
constexpr std::size_t kVersionLength = 5;
constexpr std::size_t kSentFramesKept = 65536;

Clock::duration seconds(double s) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s));
}

}  // namespace

struct Simulator::Impl {
    explicit Impl(Options o)
        : options(std::move(o)),
          engine(options.trackerSpeed),
          judge(options.portSpeed),
          poses(options.fixedPose, Clock::now()),
          faults(options.faults) {}

    Options options;

    mutable std::mutex mu;
    mutable std::condition_variable changed;  // a byte received or a loop task done

    std::unique_ptr<ptykit::PtyPair> pty;
    std::string lastSlavePath;
    TrackerEngine engine;
    SpeedJudge judge;
    PoseSource poses;
    FaultInjector faults;
    OutputLine line;
    RxLog log;
    TxFrame building{};              // the frame whose bytes are going out
    std::deque<TxFrame> sentFrames;  // the latest kSentFramesKept frames sent

    // Bytes read but not judged yet (a speed change awaits its switch command).
    struct Pending {
        std::vector<std::uint8_t> bytes;
        std::vector<Clock::time_point> at;
        int before = 0, after = 0;
        Clock::time_point since{};
    } pending;

    Clock::time_point nextFrameDue{};
    std::optional<Clock::time_point> vanishAt, comeBackAt;

    std::thread thread;
    bool running = false;
    bool stopping = false;
    int wakeFd = -1;

    std::deque<std::function<void()>> tasks;
    long tasksQueued = 0, tasksDone = 0;
    std::optional<std::string> announce;               // a slave path to hand to onDeviceAppeared
    std::optional<Clock::time_point> hostChangeSince;  // an idle speed change not yet followed

    // ---- device ------------------------------------------------------------------------
    void appear() {
        auto p = std::make_unique<ptykit::PtyPair>();
        p->setInitialSpeed(options.portSpeed);
        if (!options.linkPath.empty()) pointLink(options.linkPath, p->slavePath());
        lastSlavePath = p->slavePath();
        pty = std::move(p);
        engine.powerOn();
        judge = SpeedJudge(options.portSpeed);
        hostChangeSince.reset();
        pending = Pending{};
        line.clear();
        poses.restartFilter();
        announce = lastSlavePath;
    }

    void disappear() {
        if (!pty) return;
        if (!options.linkPath.empty()) removeLink(options.linkPath, pty->slavePath());
        pty.reset();  // closes the master: the host sees a hang-up
        line.clear();
        pending = Pending{};
    }

    void armFaults(Clock::time_point now) {
        const Faults& f = faults.faults();
        vanishAt.reset();
        if (f.vanishAfterSeconds > 0) vanishAt = now + seconds(f.vanishAfterSeconds);
    }

    // ---- receiving ---------------------------------------------------------------------
    void readInput(Clock::time_point now) {
        std::uint8_t buf[256];
        const int before = pty->hostSpeed();
        ssize_t n = read(pty->master(), buf, sizeof buf);
        const int after = pty->hostSpeed();
        if (n <= 0) return;
        if (pending.bytes.empty()) {
            pending.before = before;
            pending.since = now;
        }
        pending.after = after;
        pending.bytes.insert(pending.bytes.end(), buf, buf + n);
        pending.at.insert(pending.at.end(), static_cast<std::size_t>(n), now);
        judgePending(now, false);
    }

    // Follows the host's line speed while no byte waits to be judged, so that a speed the
    // host sets and leaves again before its next byte is read still counts for that byte.
    void followHost(Clock::time_point now) {
        const int speed = pty->hostSpeed();
        int unread = 0;  // bytes already sent are judged by readInput, with the speeds around them
        ioctl(pty->master(), FIONREAD, &unread);
        if (!pending.bytes.empty() || unread > 0 || speed == judge.lineSpeed()) {
            hostChangeSince.reset();
            return;
        }
        if (!hostChangeSince) hostChangeSince = now;
        if (judge.follow(speed, now >= *hostChangeSince + kSwitchGrace)) hostChangeSince.reset();
    }

    void judgePending(Clock::time_point now, bool graceOver) {
        if (pending.bytes.empty()) return;
        auto speeds = judge.judge(pending.bytes, pending.before, pending.after, graceOver);
        if (!speeds) return;
        Pending batch = std::move(pending);
        pending = Pending{};
        for (std::size_t i = 0; i < batch.bytes.size(); ++i) {
            const bool understood = (*speeds)[i] == engine.state().speed;
            log.add(RxRecord{batch.bytes[i], batch.at[i], (*speeds)[i], understood});
            if (understood) act(batch.bytes[i], now);
        }
        changed.notify_all();
    }

    void act(std::uint8_t byte, Clock::time_point now) {
        const bool wasStreaming = engine.streaming();
        const int resets = engine.state().resets;
        const Answer answer = engine.receive(byte);
        const int speed = engine.state().speed;
        if (engine.state().resets != resets) poses.restartFilter();
        if (wasStreaming && !engine.streaming()) line.dropStream(now, speed);
        if (!wasStreaming && engine.streaming()) nextFrameDue = now;
        if (faults.faults().silent) return;
        switch (answer) {
        case Answer::Identification: {
            const std::string& id = faults.faults().idReply;
            line.push({id.begin(), id.end()}, false, now, speed);
            break;
        }
        case Answer::Version: {
            const std::string& v = options.version;
            line.push({v.begin(), v.begin() + std::min(v.size(), kVersionLength)}, false, now,
                      speed);
            break;
        }
        case Answer::Frame: sendFrame(now, false); break;
        case Answer::None: break;
        }
    }

    // ---- sending -----------------------------------------------------------------------
    void sendFrame(Clock::time_point now, bool stream) {
        if (faults.faults().silent) return;
        const int speed = engine.state().speed;
        const FrameFormat format = engine.frameFormat();
        line.push(faults.garbage(), stream, now, speed);
        const Pose p = poses.next(now, engine.state().hysteresis);
        const bool corrupt = format.dataMode == 'F' && format.checksum && faults.corruptChecksum();
        line.push(encodeFrame(p, format, corrupt), stream, now, speed, true, corrupt);
    }

    void streamTick(Clock::time_point now) {
        if (!engine.streaming() || now < nextFrameDue) return;
        if (!line.hasStream()) sendFrame(now, true);  // a frame still going out: skip this one
        const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) /
                            std::max(engine.state().rate, 1);
        while (nextFrameDue <= now) nextFrameDue += period;
    }

    void sendDue(Clock::time_point now) {
        while (line.frontDue() && *line.frontDue() <= now) {
            const OutputLine::Byte b = line.pop(engine.state().speed);
            if (b.frameStart) building = TxFrame{{}, {}, true, b.badChecksum, b.stream};
            const bool lost = faults.loseByte();
            // Stamped before the write: from then on a host may read the byte.
            const Clock::time_point writeAt = Clock::now();
            if (!lost) {
                const bool atHostSpeed = pty->hostSpeed() == b.speed;
                const std::uint8_t out = atHostSpeed ? b.value : garbled(b.value);
                // The master does not block; a byte the host's full input queue cannot take is
                // lost, as on a line whose receiver overruns.
                ssize_t put;
                do put = write(pty->master(), &out, 1);
                while (put < 0 && errno == EINTR);
                building.bytes.push_back(out);
                building.intact = building.intact && atHostSpeed && put == 1;
            } else {
                building.intact = false;
            }
            if (b.frameEnd) finishFrame(writeAt);
        }
    }

    void finishFrame(Clock::time_point lastByteAt) {
        building.lastByteAt = lastByteAt;
        log.addFrameEnd(building);
        sentFrames.push_back(std::move(building));
        building = TxFrame{};
        if (sentFrames.size() > kSentFramesKept) sentFrames.pop_front();
        changed.notify_all();
    }

    // ---- the thread --------------------------------------------------------------------
    void runTasks() {
        while (!tasks.empty()) {
            auto task = std::move(tasks.front());
            tasks.pop_front();
            task();
            ++tasksDone;
        }
        changed.notify_all();
    }

    void runScheduled(Clock::time_point now) {
        if (vanishAt && now >= *vanishAt) {
            vanishAt.reset();
            disappear();
            if (faults.faults().comeBackAfterSeconds > 0)
                comeBackAt = now + seconds(faults.faults().comeBackAfterSeconds);
        }
        if (comeBackAt && now >= *comeBackAt) {
            comeBackAt.reset();
            try {
                if (!pty) appear();
            } catch (const std::exception& e) {
                std::fprintf(stderr, "korvisor-sim: cannot come back: %s\n", e.what());
            }
        }
    }

    Clock::time_point nextWake(Clock::time_point now) const {
        Clock::time_point t = now + kIdleWait;
        if (pty && line.frontDue()) t = std::min(t, *line.frontDue());
        if (pty && engine.streaming()) t = std::min(t, nextFrameDue);
        if (pty && !pending.bytes.empty()) t = std::min(t, pending.since + kSwitchGrace);
        if (pty) t = std::min(t, now + kHostSpeedSample);
        if (vanishAt) t = std::min(t, *vanishAt);
        if (comeBackAt) t = std::min(t, *comeBackAt);
        return t;
    }

    void run() {
        std::unique_lock lock(mu);
        while (!stopping) {
            auto now = Clock::now();
            runTasks();
            runScheduled(now);
            if (pty) {
                if (!pending.bytes.empty() && now >= pending.since + kSwitchGrace)
                    judgePending(now, true);
                followHost(now);
                streamTick(now);
                sendDue(now);
            }
            const auto wake = nextWake(now);
            const int fd = pty ? pty->master() : -1;
            auto toAnnounce = std::exchange(announce, std::nullopt);
            std::function<void(const std::string&)> callback;
            if (toAnnounce) callback = options.onDeviceAppeared;

            lock.unlock();
            if (toAnnounce && callback) callback(*toAnnounce);
            pollfd fds[2] = {{wakeFd, POLLIN, 0}, {fd, POLLIN, 0}};
            auto left = std::max(wake - Clock::now(), Clock::duration::zero());
            auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
            ppoll(fds, fd >= 0 ? 2 : 1, &ts, nullptr);
            lock.lock();

            if (fds[0].revents & POLLIN) {
                std::uint64_t v;
                [[maybe_unused]] ssize_t r = read(wakeFd, &v, sizeof v);
            }
            // The master only changes on this thread, so fd is still the live one.
            if (fd >= 0 && pty && (fds[1].revents & POLLIN)) readInput(Clock::now());
        }
    }

    void wake() const {
        std::uint64_t one = 1;
        [[maybe_unused]] ssize_t r = write(wakeFd, &one, sizeof one);
    }

    // Runs f on the simulator's thread (at once when it is not running) and waits for it.
    void onThread(std::unique_lock<std::mutex>& lock, std::function<void()> f) {
        if (!running) {
            f();
            return;
        }
        std::exception_ptr error;
        tasks.push_back([f = std::move(f), &error] {
            try {
                f();
            } catch (...) {
                error = std::current_exception();
            }
        });
        const long ticket = ++tasksQueued;
        wake();
        changed.wait(lock, [&] { return tasksDone >= ticket || !running; });
        if (error) std::rethrow_exception(error);
    }
};

Simulator::Simulator(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}

Simulator::~Simulator() { stop(); }

void Simulator::start() {
    Impl& m = *impl_;
    std::unique_lock lock(m.mu);
    if (m.running) return;
    for (int speed : {m.options.trackerSpeed, m.options.portSpeed})
        if (speed != 9600 && speed != 19200)
            throw std::invalid_argument("line speed must be 9600 or 19200");
    m.wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m.wakeFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    try {
        if (!m.options.logPath.empty()) m.log.openFile(m.options.logPath);
        m.appear();
    } catch (...) {
        close(m.wakeFd);
        m.wakeFd = -1;
        m.log.closeFile();
        throw;
    }
    const auto now = Clock::now();
    m.poses.restart(now);
    m.armFaults(now);
    m.stopping = false;
    m.running = true;
    m.thread = std::thread([&m] { m.run(); });
}

void Simulator::stop() {
    Impl& m = *impl_;
    {
        std::lock_guard lock(m.mu);
        if (!m.running) return;
        m.stopping = true;
        m.wake();
    }
    m.thread.join();
    std::lock_guard lock(m.mu);
    m.running = false;
    m.tasks.clear();  // never run: their callers return on running = false
    m.disappear();
    m.log.closeFile();
    close(m.wakeFd);
    m.wakeFd = -1;
    m.changed.notify_all();
}

std::string Simulator::devicePath() const {
    std::lock_guard lock(impl_->mu);
    return impl_->options.linkPath.empty() ? impl_->lastSlavePath : impl_->options.linkPath;
}

std::string Simulator::slavePath() const {
    std::lock_guard lock(impl_->mu);
    return impl_->lastSlavePath;
}

std::vector<RxRecord> Simulator::received() const {
    std::lock_guard lock(impl_->mu);
    return impl_->log.records();
}

std::vector<std::uint8_t> Simulator::receivedBytes() const {
    std::lock_guard lock(impl_->mu);
    std::vector<std::uint8_t> out;
    for (const auto& r : impl_->log.records()) out.push_back(r.value);
    return out;
}

void Simulator::clearReceived() {
    std::lock_guard lock(impl_->mu);
    impl_->log.clear();
}

bool Simulator::waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(impl_->mu);
    return impl_->changed.wait_for(lock, timeout,
                                   [&] { return impl_->log.records().size() >= count; });
}

std::vector<TxFrame> Simulator::sentFrames() const {
    std::lock_guard lock(impl_->mu);
    return {impl_->sentFrames.begin(), impl_->sentFrames.end()};
}

void Simulator::clearSentFrames() {
    std::lock_guard lock(impl_->mu);
    impl_->sentFrames.clear();
}

TrackerState Simulator::state() const {
    std::lock_guard lock(impl_->mu);
    return impl_->engine.state();
}

void Simulator::setPose(Pose pose) {
    std::lock_guard lock(impl_->mu);
    impl_->poses.setFixed(pose);
}

void Simulator::setMovingPose() {
    std::lock_guard lock(impl_->mu);
    impl_->poses.setMoving();
}

Pose Simulator::pose() const {
    std::lock_guard lock(impl_->mu);
    return impl_->poses.peek(Clock::now(), impl_->engine.state().hysteresis);
}

void Simulator::setFaults(Faults faults) {
    std::lock_guard lock(impl_->mu);
    impl_->faults.set(std::move(faults));
    impl_->armFaults(Clock::now());
    if (impl_->running) impl_->wake();
}

void Simulator::vanish() {
    std::unique_lock lock(impl_->mu);
    impl_->onThread(lock, [this] {
        impl_->disappear();
        impl_->vanishAt.reset();
    });
}

void Simulator::comeBack() {
    std::unique_lock lock(impl_->mu);
    if (!impl_->running) return;
    impl_->onThread(lock, [this] {
        impl_->comeBackAt.reset();
        if (!impl_->pty) impl_->appear();
    });
}

}  // namespace korvisor
