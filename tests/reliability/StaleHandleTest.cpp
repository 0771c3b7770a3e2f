// Stale handles: after every way a port gets closed, the kernel may give its descriptor
// number to some other file at once. Here it does: a bystander terminal is put on exactly that
// number, and then every member that writes, reads, purges or sets the line is called on the
// object that held the port. Each must fail, and the bystander must be untouched: still
// open, its queued input still there, its settings as they were, nothing written to it.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <set>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "Rig.h"

namespace reliability {
namespace {

constexpr char kSentinel[] = "bystander";
constexpr int kSentinelLength = sizeof kSentinel - 1;

// The lowest descriptor number free now: the one the next open gets.
int lowestFreeDescriptor() {
    const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    close(fd);
    return fd;
}

// The descriptors this process has open on path (the simulator keeps one of its own).
std::set<int> descriptorsOf(const std::string& path) {
    std::set<int> found;
    for (int fd = 0; fd < 1024; ++fd) {
        char target[PATH_MAX] = {};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        if (readlink(link.c_str(), target, sizeof target - 1) > 0 && path == target)
            found.insert(fd);
    }
    return found;
}

int queued(int fd) {
    int n = -1;
    ioctl(fd, FIONREAD, &n);
    return n;
}

// A pseudo-terminal placed on a given descriptor number, with input queued on its slave.
class Bystander {
public:
    explicit Bystander(int number) {
        master_ = aside(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
        grantpt(master_);
        unlockpt(master_);
        const int slave = aside(open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC));
        termios t{};
        tcgetattr(slave, &t);
        cfmakeraw(&t);
        cfsetspeed(&t, B38400);
        tcsetattr(slave, TCSANOW, &t);
        tcgetattr(slave, &settings_);
        if (write(master_, kSentinel, kSentinelLength) != kSentinelLength)
            throw std::runtime_error("write");
        for (int i = 0; i < 100 && queued(slave) < kSentinelLength; ++i)
            std::this_thread::sleep_for(milliseconds(1));
        slave_ = dup2(slave, number);
        close(slave);
    }
    ~Bystander() {
        close(slave_);
        close(master_);
    }
    void expectUntouched() const {
        EXPECT_NE(fcntl(slave_, F_GETFD), -1) << "the bystander was closed";
        EXPECT_EQ(queued(slave_), kSentinelLength) << "the bystander's input was read or purged";
        EXPECT_EQ(queued(master_), 0) << "something was written to the bystander";
        termios now{};
        tcgetattr(slave_, &now);
        EXPECT_EQ(cfgetospeed(&now), cfgetospeed(&settings_)) << "the bystander's speed changed";
        EXPECT_EQ(now.c_cflag, settings_.c_cflag) << "the bystander's settings changed";
        EXPECT_EQ(now.c_lflag, settings_.c_lflag);
    }

private:
    // Moves fd above the low numbers, so that it cannot sit on the number being tested.
    static int aside(int fd) {
        const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 200);
        close(fd);
        return moved;
    }

    int master_ = -1, slave_ = -1;
    termios settings_{};
};

// Every member that reaches the port, on an object whose port is closed: each fails.
void callEveryMember(Vexlink& link) {
    char letter[] = "G";
    link.SetPortId(3);
    EXPECT_EQ(link.SendToPort(letter), 0);
    link.ResetFIFO();
    link.SetSamplingRate(75);
    EXPECT_EQ(link.CheckSumOn(), 0);
    EXPECT_EQ(link.CheckSumOff(), 0);
    EXPECT_EQ(link.SetHysteresisOn(), 0);
    EXPECT_EQ(link.SetHysteresisOff(), 0);
    EXPECT_EQ(link.Get_Version(), nullptr);
    EXPECT_EQ(link.GetDCB(), 0);
    EXPECT_EQ(link.checkForKorvisor(), 0);
    for (int speed : {9600, 19200}) {
        link.SetSpeedFlag(speed);
        EXPECT_EQ(speed == 9600 ? link.Set19200() : link.Set9600(), 0);
        EXPECT_EQ(link.HardReset(), 1);
    }
    const struct {
        char data, trans;
        int checksum;
    } modes[] = {{'F', 'G', 0}, {'F', 'G', 1}, {'F', 'H', 1}, {'E', 'G', 0}};
    for (const auto& m : modes) {
        link.SetDataMode(m.data);
        link.SetTransMode(m.trans);
        link.checkStatus = m.checksum;
        const auto start = Clock::now();
        EXPECT_EQ(link.ReadFromPort(), 0);
        EXPECT_LE(Clock::now() - start, kReadLimit);
    }
    link.CloseCom();
    EXPECT_EQ(link.CloseCom(link.GetComHandle()), 0);
}

struct ClosingCase {
    const char* name;
    // Leaves `link` (or the object it returns) holding a port that has been closed. `number`
    // is where the kernel put the port's descriptor.
    std::function<Vexlink*(Ports&, Vexlink& link, Vexlink& other, int& number)> close;
};
void PrintTo(const ClosingCase& c, std::ostream* out) { *out << c.name; }

// Opens COM3 and notes its descriptor number.
void openNoting(korvisor::Simulator& sim, Vexlink& link, int& number) {
    const std::set<int> before = descriptorsOf(sim.slavePath());
    ASSERT_EQ(openCom3(link), 1);
    std::set<int> after = descriptorsOf(sim.slavePath());
    for (int fd : before) after.erase(fd);
    ASSERT_EQ(after.size(), 1u);
    number = *after.begin();
}

const ClosingCase kClosings[] = {
    {"CloseComWithHandle",
     [](Ports& p, Vexlink& link, Vexlink&, int& number) {
         openNoting(p.tracker(3), link, number);
         EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
         return &link;
     }},
    {"CloseComWithoutReset",
     [](Ports& p, Vexlink& link, Vexlink&, int& number) {
         openNoting(p.tracker(3), link, number);
         link.CloseCom();
         return &link;
     }},
    {"FailedIdentification",
     [](Ports& p, Vexlink& link, Vexlink&, int& number) {
         korvisor::Options options;
         options.faults.idReply = "KH";
         p.tracker(3, options);
         number = lowestFreeDescriptor();
         EXPECT_EQ(link.OpenCom("COM3"), 0);
         return &link;
     }},
    {"DetectionFoundNothing",
     [](Ports& p, Vexlink& link, Vexlink&, int& number) {
         korvisor::Options options;
         options.faults.silent = true;
         p.tracker(3, options);
         number = lowestFreeDescriptor();
         EXPECT_EQ(link.AutoDetectComPort(), 0);
         return &link;
     }},
    {"OldHandleOfAPortSwitch",
     [](Ports& p, Vexlink& link, Vexlink&, int& number) {
         p.tracker(2);
         openNoting(p.tracker(3), link, number);
         link.SetTempComHandle();
         EXPECT_EQ(link.OpenCom("COM2"), 1);
         EXPECT_EQ(link.CloseCom(link.GetTempComHandle()), 1);
         EXPECT_EQ(link.CloseCom(link.GetTempComHandle()), 0);  // a second close fails too
         link.SetNewComHandle();                                // the dead handle back in use
         return &link;
     }},
    {"CopyOfTheClosedObject",
     [](Ports& p, Vexlink& link, Vexlink& other, int& number) {
         openNoting(p.tracker(3), link, number);
         other = link;
         EXPECT_EQ(link.CloseCom(link.GetComHandle()), 1);
         return &other;
     }},
    {"VanishedDeviceClosed",
     [](Ports& p, Vexlink& link, Vexlink&, int& number) {
         korvisor::Simulator& sim = p.tracker(3);
         openNoting(sim, link, number);
         sim.vanish();
         link.CloseCom(link.GetComHandle());
         return &link;
     }},
};

class StaleHandle : public ::testing::TestWithParam<ClosingCase> {};

TEST_P(StaleHandle, NoMemberTouchesTheReusedDescriptor) {
    Vexlink::SetMessageHandler([](const char*, void*) {});
    Ports ports;
    Vexlink link, other;
    int number = -1;
    Vexlink* closed = GetParam().close(ports, link, other, number);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_GE(number, 0);
    EXPECT_EQ(fcntl(number, F_GETFD), -1) << "the port's descriptor is still open";

    Bystander bystander(number);
    callEveryMember(*closed);
    bystander.expectUntouched();
    Vexlink::SetMessageHandler(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Reliability, StaleHandle, ::testing::ValuesIn(kClosings),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace reliability
