// A port already held cannot be taken: not by a second object in the same program, not by a
// second program, also when both run as root. The loser fails at once, sends nothing, and
// the holder keeps working; a holder that ends, however abruptly, releases the port.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "Rig.h"

extern char** environ;

namespace reliability {
namespace {

constexpr Mode kRequest{"BinaryRequest", false, false, false};
constexpr auto kQuickFailure = milliseconds(50) + kSlack;

// The second program, started with its standard input and output on pipes.
class Probe {
public:
    explicit Probe(bool hold) {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const char* argv[] = {OPEN_PROBE_PATH, "COM3", hold ? "hold" : nullptr, nullptr};
        if (posix_spawn(&pid_, OPEN_PROBE_PATH, &actions, nullptr, const_cast<char**>(argv),
                        environ) != 0)
            throw std::runtime_error("posix_spawn");
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        stdin_ = in[1];
        stdout_ = out[0];
    }
    ~Probe() {
        if (stdin_ >= 0) close(stdin_);
        close(stdout_);
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    // True once the probe says it holds the port.
    bool holds() {
        char text[8] = {};
        return read(stdout_, text, 5) == 5 && std::string(text, 4) == "held";
    }
    void release() {
        close(stdin_);
        stdin_ = -1;
    }
    void killHard() { kill(pid_, SIGKILL); }
    // The exit status, or -1 when it was killed.
    int wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int stdin_ = -1, stdout_ = -1;
};

class Contention : public ::testing::Test {
protected:
    void SetUp() override {
        RecordProperty("root", geteuid() == 0 ? "yes" : "no");
        sim_ = &ports_.tracker(3);
    }
    // Nothing more reaches the tracker within a short while.
    void expectNothingSentSince(std::size_t count) {
        std::this_thread::sleep_for(milliseconds(50));
        EXPECT_EQ(sim_->received().size(), count);
    }
    void expectWorks(Vexlink& link) {
        const ReadLog log = readTimes(link, kRequest, guardedPose(), 3);
        EXPECT_GE(log.good, 2) << describe(log);  // a loaded machine may make one frame late
        EXPECT_EQ(unexplainedWrong(log, kRequest), 0) << describe(log);
    }

    Ports ports_;
    korvisor::Simulator* sim_ = nullptr;
};

TEST_F(Contention, SecondObjectInTheSameProgramFailsCleanly) {
    Vexlink holder;
    ASSERT_EQ(openCom3(holder), 1);
    const std::size_t sent = sim_->received().size();

    Vexlink second;
    const auto start = Clock::now();
    EXPECT_EQ(second.OpenCom("COM3"), 0);
    EXPECT_LE(Clock::now() - start, kQuickFailure);
    EXPECT_EQ(second.CheckIfBusy(), 0);
    EXPECT_EQ(second.GetCurrentSpeed(), 19200);
    // Its failed open leaves it no port: its members fail without reaching the held one.
    char reset[] = "R";
    EXPECT_EQ(second.SendToPort(reset), 0);
    EXPECT_EQ(second.ReadFromPort(), 0);
    second.ResetFIFO();
    expectNothingSentSince(sent);
    expectWorks(holder);

    const std::size_t later = sim_->received().size();
    Vexlink::SetMessageHandler([](const char*, void*) {});
    EXPECT_EQ(second.AutoDetectComPort(), 0);
    Vexlink::SetMessageHandler(nullptr);
    expectNothingSentSince(later);
    expectWorks(holder);
    EXPECT_EQ(holder.CloseCom(holder.GetComHandle()), 1);
}

TEST_F(Contention, SecondProgramFailsWhileThePortIsHeld) {
    Vexlink holder;
    ASSERT_EQ(openCom3(holder), 1);
    const std::size_t sent = sim_->received().size();

    const auto start = Clock::now();
    Probe probe(false);
    EXPECT_EQ(probe.wait(), 1);
    EXPECT_LE(Clock::now() - start, milliseconds(1000));
    expectNothingSentSince(sent);
    expectWorks(holder);
    EXPECT_EQ(holder.CloseCom(holder.GetComHandle()), 1);
}

TEST_F(Contention, PortHeldByAnotherProgramIsRefusedUntilItEnds) {
    for (bool abrupt : {false, true}) {
        SCOPED_TRACE(abrupt ? "holder killed" : "holder closes");
        Probe probe(true);
        ASSERT_TRUE(probe.holds());
        const std::size_t sent = sim_->received().size();

        Vexlink link;
        const auto start = Clock::now();
        EXPECT_EQ(link.OpenCom("COM3"), 0);
        EXPECT_LE(Clock::now() - start, kQuickFailure);
        expectNothingSentSince(sent);

        if (abrupt) probe.killHard();
        else probe.release();
        EXPECT_EQ(probe.wait(), abrupt ? -1 : 0);
        ASSERT_EQ(openCom3(link), 1);
        expectWorks(link);
        EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
    }
}

}  // namespace
}  // namespace reliability
