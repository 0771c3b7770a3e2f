// The korvisor-sim program: arguments, running a program against the tracker, and a clean
// end on a signal.
#include "HostPort.h"

#include <ptykit/PtyPair.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace simtest {
namespace {

const std::string kProgram = KORVISOR_SIM_PROGRAM;

struct Outcome {
    int status = -1;  // the exit status, or 128 + signal
    std::string output;
};

// Runs a shell command line, collecting its standard output and error.
Outcome shell(const std::string& line) {
    Outcome r;
    FILE* p = popen((line + " 2>&1").c_str(), "r");
    char buf[512];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) r.output.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return r;
}

std::string shellQuoted(const std::string& s) { return "'" + s + "'"; }

class TempDir {
public:
    TempDir() {
        char t[] = "/tmp/korvisor-sim-test-XXXXXX";
        path = mkdtemp(t);
    }
    ~TempDir() { shell("rm -rf " + shellQuoted(path)); }
    std::string path;
};

// The simulator program started in the background, its standard output on a pipe.
class Background {
public:
    explicit Background(std::vector<std::string> args) {
        args.insert(args.begin(), kProgram);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        EXPECT_EQ(pipe(fds), 0);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        posix_spawn_file_actions_addclose(&fa, fds[0]);
        EXPECT_EQ(posix_spawn(&pid, argv[0], &fa, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&fa);
        close(fds[1]);
        out = fds[0];
    }
    ~Background() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(out);
    }
    // The first line of output, waiting at most timeout.
    std::string firstLine(std::chrono::milliseconds timeout) {
        std::string line;
        const auto deadline = ptykit::Clock::now() + timeout;
        std::uint8_t c;
        while (ptykit::readUntil(out, &c, 1, deadline) == 1 && c != '\n') line += char(c);
        return line;
    }
    // Signals the program and waits for its exit status.
    int stopWith(int sig) {
        kill(pid, sig);
        int st = 0;
        waitpid(pid, &st, 0);
        pid = -1;
        return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    }

    pid_t pid = -1;
    int out = -1;
};

bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

// Waits until done() holds, looking every 10 ms; false after timeout.
template <class F>
bool eventually(F done, std::chrono::milliseconds timeout) {
    const auto deadline = ptykit::Clock::now() + timeout;
    while (!done()) {
        if (ptykit::Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// True once process pid runs a child whose command name is name.
bool runsChild(pid_t pid, const std::string& name) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& task :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream children(task.path() / "children");
        for (pid_t child; children >> child;) {
            std::ifstream comm("/proc/" + std::to_string(child) + "/comm");
            std::string command;
            if (std::getline(comm, command) && command == name) return true;
        }
    }
    return false;
}

// The file's whole text ("" when it cannot be read).
std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Program, RunsAProgramAgainstTheTrackerWithItsEnvironmentAndStatus) {
    // The program talks to the tracker as COM3 with the shell's own tools, and reports what
    // it was given; COM4 was set beforehand and is kept.
    const std::string script =
        "echo \"1=$VEXLINK_COM1 2=$VEXLINK_COM2 4=$VEXLINK_COM4\"; "
        "d=$VEXLINK_COM3; exec 3<>\"$d\"; stty -F \"$d\" raw -echo 9600; "
        "printf XV >&3; echo \"reply=$(timeout 2 head -c 6 <&3)\"; exit 7";
    const Outcome r = shell("VEXLINK_COM4=/keep/me VEXLINK_COM3=/overridden " + kProgram +
                            " --tracker-version 2.5 --com 3 -- sh -c " + shellQuoted(script));
    EXPECT_EQ(r.status, 7) << r.output;
    EXPECT_NE(r.output.find("1=/dev/null/COM1 2=/dev/null/COM2 4=/keep/me"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("reply=KHX2.5"), std::string::npos) << r.output;
    EXPECT_FALSE(exists("/dev/null/COM1"));
}

TEST(Program, ProgramThatCannotStart) {
    EXPECT_EQ(shell(kProgram + " --com 1 -- /no/such/program").status, 127);
}

// INT, TERM and HUP (a closed terminal) sent to the simulator reach the program it runs.
class SignalPassedOn : public ::testing::TestWithParam<int> {};

TEST_P(SignalPassedOn, ToTheProgram) {
    Background sim({"--com", "2", "--", "sleep", "30"});
    ASSERT_TRUE(eventually([&] { return runsChild(sim.pid, "sleep"); }, std::chrono::seconds(5)));
    const auto t0 = ptykit::Clock::now();
    EXPECT_EQ(sim.stopWith(GetParam()), 128 + GetParam());  // the program's own end
    EXPECT_LT(ptykit::Clock::now() - t0, std::chrono::seconds(5));
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalPassedOn, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

// --link never takes over a path that exists: a user's link to a real port, another
// simulator's link, a file. The simulator refuses to start and leaves the path as it was.
TEST(Program, RefusesALinkPathThatExists) {
    TempDir dir;
    const std::string usersLink = dir.path + "/users-link", file = dir.path + "/file",
                      othersLink = dir.path + "/others-link";
    ASSERT_EQ(symlink("/nonexistent/users-port", usersLink.c_str()), 0);
    std::ofstream(file) << "keep me\n";
    Background other({"--link", othersLink});
    const std::string othersDevice = other.firstLine(std::chrono::milliseconds(3000));
    ASSERT_EQ(othersDevice.rfind("/dev/pts/", 0), 0u) << othersDevice;

    const auto target = [](const std::string& link) {
        char buf[256] = {};
        return readlink(link.c_str(), buf, sizeof buf - 1) > 0 ? std::string(buf) : std::string();
    };
    for (const std::string& path : {usersLink, othersLink, file}) {
        const std::string before = target(path);
        const Outcome r = shell("timeout -k 2 5 " + kProgram + " --link " + shellQuoted(path));
        EXPECT_EQ(r.status, 1) << path << ": " << r.output;
        EXPECT_NE(r.output.find("exists"), std::string::npos) << path << ": " << r.output;
        EXPECT_EQ(target(path), before) << path;
    }
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "keep me");
    EXPECT_EQ(other.stopWith(SIGTERM), 0);
    EXPECT_FALSE(exists(othersLink)) << "the other simulator removes its own link";
}

// A log FIFO that no one reads: the simulator says so and ends, instead of waiting in the
// open with its signals held back.
TEST(Program, LogFifoWithoutAReaderIsRefusedAtOnce) {
    TempDir dir;
    const std::string fifo = dir.path + "/rx.fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto t0 = ptykit::Clock::now();
    const Outcome r = shell("timeout -k 2 5 " + kProgram + " --log " + shellQuoted(fifo));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("no reader"), std::string::npos) << r.output;
    EXPECT_LT(ptykit::Clock::now() - t0, std::chrono::seconds(4));
}

class EndsOnSignal : public ::testing::TestWithParam<int> {};

TEST_P(EndsOnSignal, PrintsTheDeviceLogsWhatItHearsAndRemovesTheLink) {
    TempDir dir;
    const std::string link = dir.path + "/tracker", log = dir.path + "/rx.log";
    Background sim({"--link", link, "--log", log, "--pose", "0,90,0"});
    const std::string slave = sim.firstLine(std::chrono::milliseconds(3000));
    ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(slave, target);
    {
        HostPort host(link);
        host.send("S");
        EXPECT_EQ(host.read(6, std::chrono::milliseconds(500)),
                  (Bytes{0x20, 0x00, 0x40, 0x00, 0x40, 0x00}));
        host.setSpeed(19200);
        host.send("X");
        // The log is written as each byte comes.
        ASSERT_TRUE(eventually([&] { return fileText(log).find(" 0x58 ") != std::string::npos; },
                               std::chrono::seconds(2)));
    }
    EXPECT_EQ(sim.stopWith(GetParam()), 0);
    EXPECT_FALSE(exists(link));

    // Header lines first; then a line per byte received and one per frame sent, stamped when
    // its last byte went out.
    std::ifstream in(log);
    std::string line, header;
    std::vector<std::string> received, framesSent;
    while (std::getline(in, line)) {
        if (line.rfind("#", 0) == 0) {
            EXPECT_TRUE(received.empty() && framesSent.empty()) << "header after records";
            header += line;
        } else {
            (line.find(" frame-end ") != std::string::npos ? framesSent : received).push_back(line);
        }
    }
    EXPECT_FALSE(header.empty());
    ASSERT_EQ(received.size(), 2u) << header;
    EXPECT_NE(received[0].find(" 0x53 9600 understood"), std::string::npos) << received[0];
    EXPECT_NE(received[1].find(" 0x58 19200 not-understood"), std::string::npos) << received[1];
    ASSERT_EQ(framesSent.size(), 1u);
    EXPECT_NE(framesSent[0].find(" frame-end 6 intact"), std::string::npos) << framesSent[0];
}

INSTANTIATE_TEST_SUITE_P(Signals, EndsOnSignal, ::testing::Values(SIGTERM, SIGINT));

TEST(Program, RejectsBadArgumentsWithAMessage) {
    const char* bad[] = {
        "--speed 4800",     "--pose 1,2",        "--pose 0,720,0",
        "--pose a,b,c",     "--com 5 -- true",   "--com 3",
        "-- true",          "--bogus",           "--drop 0",
        "--version ABCDEF", "--vanish-after -1", "--come-back-after 1",
        "--link",           "--link ''",         "--tracker-version ABCDEF",
    };
    for (const char* args : bad) {
        const Outcome r = shell("timeout -k 2 10 " + kProgram + " " + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(r.output.find("korvisor-sim: "), std::string::npos) << args << ": " << r.output;
    }
    const Outcome help = shell(kProgram + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--com N"), std::string::npos);
    const Outcome version = shell(kProgram + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output.rfind("korvisor-sim ", 0), 0u) << version.output;
}

}  // namespace
}  // namespace simtest
