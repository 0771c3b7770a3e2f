// vexlink ports and detect --all on a machine of the test's own: a dev folder holding a USB
// adapter (by-id link, ttyUSB node) with a simulated tracker behind it, a modem with none,
// and a serial console that must never be written to; a sysfs tree describing them.
#include "CliProcess.h"
#include "SimulatedTracker.h"

#include <FakeSystem.h>
#include <ScriptedDevice.h>

#include <gtest/gtest.h>

#include <filesystem>

using namespace cli_test;
using testsupport::FakeSystem;

namespace {

const char kById[] = "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";

class PortsCommand : public ::testing::Test {
protected:
    PortsCommand() {
        system.addNode("ttyUSB0", tracker.path());
        byId = system.addById(kById, "ttyUSB0");
        system.describeUsb("ttyUSB0", "ftdi_sio", "0403", "6001", "FTDI", "FT232R USB UART",
                           "A1B2C3");
        system.addNode("ttyACM0", modem.path());
        system.describeUsb("ttyACM0", "cdc_acm", "1d6b", "0104", "Maker", "Modem", "");
        system.addNode("ttyS0", console.path());
        system.describeUart("ttyS0", 4);
        system.setConsoles("ttyS0");
    }

    // The machine's variables, and no port variable at all: only the maps and defaults count.
    EnvOverrides environment() const {
        EnvOverrides env;
        for (const auto& [name, value] : system.environment()) env[name] = value;
        for (int n = 1; n <= 4; ++n) env["VEXLINK_COM" + std::to_string(n)] = kUnset;
        return env;
    }
    CliResult run(const std::vector<std::string>& args) const {
        return runCli(args, environment());
    }

    FakeSystem system;
    SimulatedTracker tracker;
    testsupport::ScriptedDevice modem;
    testsupport::ScriptedDevice console{0};
    std::string byId;
};

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(PortsCommand, ListsDevicesAndTheComMapWithWhereEachCameFrom) {
    FakeSystem::writeFile(system.systemMap(), "COM4 = " + system.dev() + "/ttyACM0\n");
    const CliResult r = run({"ports"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 10u) << r.out;
    EXPECT_EQ(lines[0].rfind("DEVICE", 0), 0u);
    EXPECT_TRUE(has(lines[1], system.dev() + "/ttyACM0") && has(lines[1], "cdc_acm") &&
                has(lines[1], "1d6b:0104") && has(lines[1], "COM4"))
        << lines[1];
    EXPECT_TRUE(has(lines[2], system.dev() + "/ttyS0") && has(lines[2], "serial8250") &&
                has(lines[2], "SYSTEM CONSOLE") && has(lines[2], "COM1"))
        << lines[2];
    EXPECT_TRUE(has(lines[3], byId) && has(lines[3], "ttyUSB0") && has(lines[3], "ftdi_sio") &&
                has(lines[3], "0403:6001") && has(lines[3], "FTDI FT232R USB UART, serial A1B2C3"))
        << lines[3];
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5].rfind("COM", 0), 0u);
    EXPECT_TRUE(has(lines[6], "system console") && has(lines[6], "default")) << lines[6];
    EXPECT_TRUE(has(lines[7], "not present") && has(lines[7], "default")) << lines[7];
    EXPECT_TRUE(has(lines[9], "present") &&
                has(lines[9], "system map (" + system.systemMap() + ":1)"))
        << lines[9];
    EXPECT_EQ(console.receivedText(), "");

    const CliResult json = run({"ports", "--format", "jsonl"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto objects = splitLines(json.out);
    ASSERT_EQ(objects.size(), 7u) << json.out;
    EXPECT_TRUE(has(objects[2], "\"kind\":\"device\",\"path\":\"" + byId + "\"")) << objects[2];
    EXPECT_TRUE(has(objects[2], "\"serial\":\"A1B2C3\",\"console\":false,\"com\":[]"))
        << objects[2];
    EXPECT_TRUE(has(objects[1], "\"console\":true,\"com\":[\"COM1\"]")) << objects[1];
    EXPECT_TRUE(has(objects[6], "{\"kind\":\"com\",\"name\":\"COM4\",\"path\":\"" + system.dev() +
                                    "/ttyACM0\",\"source\":\"system map\""))
        << objects[6];
}

TEST_F(PortsCommand, SetStoresTheStableNameAndUnsetRemovesIt) {
    const CliResult set = run({"ports", "set", "com3", system.dev() + "/ttyUSB0"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_TRUE(has(set.out, "Using " + byId + " for " + system.dev() + "/ttyUSB0")) << set.out;
    EXPECT_EQ(FakeSystem::readFile(system.userMap()),
              "# Vexlink port map: COMn = device path (see vexlink ports).\nCOM3 = " + byId + "\n");
    const CliResult version = run({"version", "--port", "COM3"});
    EXPECT_EQ(version.exitCode, 0) << version.err;

    const CliResult system_ = run({"ports", "set", "COM2", byId, "--system"});
    ASSERT_EQ(system_.exitCode, 0) << system_.err;
    EXPECT_TRUE(has(FakeSystem::readFile(system.systemMap()), "COM2 = " + byId + "\n"));

    const CliResult unset = run({"ports", "unset", "COM3"});
    ASSERT_EQ(unset.exitCode, 0) << unset.err;
    EXPECT_TRUE(has(unset.out, "COM3 is now " + system.dev() + "/ttyS2 (default)")) << unset.out;
    EXPECT_FALSE(has(FakeSystem::readFile(system.userMap()), "COM3"));
}

struct Refusal {
    const char* what;
    std::vector<std::string> args;  // "$DEV" stands for the dev folder
    int status;
    const char* says;
};
void PrintTo(const Refusal& c, std::ostream* os) { *os << c.what; }

class PortsRefusals : public PortsCommand, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PortsRefusals, SayWhyAndChangeNothing) {
    std::vector<std::string> args = GetParam().args;
    for (std::string& a : args)
        if (a.rfind("$DEV", 0) == 0) a = system.dev() + a.substr(4);
    const CliResult r = run(args);
    EXPECT_EQ(r.exitCode, GetParam().status);
    EXPECT_EQ(splitLines(r.err).size(), 1u) << r.err;
    EXPECT_TRUE(has(r.err, GetParam().says)) << r.err;
    EXPECT_FALSE(std::filesystem::exists(system.userMap()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PortsRefusals,
    ::testing::Values(
        Refusal{"not serial",
                {"ports", "set", "COM1", "/dev/null"},
                1,
                "/dev/null is not a serial device"},
        Refusal{"missing", {"ports", "set", "COM1", "$DEV/ttyUSB9"}, 1, "does not exist"},
        Refusal{"console", {"ports", "set", "COM1", "$DEV/ttyS0"}, 1, "is the system console"},
        Refusal{"relative", {"ports", "set", "COM1", "ttyUSB0"}, 2, "must be absolute"},
        Refusal{"bad name", {"ports", "set", "COM7", "$DEV/ttyUSB0"}, 2, "COM1 to COM4"},
        Refusal{"bad verb", {"ports", "add", "COM1"}, 2, "unexpected argument 'add'"},
        Refusal{"save alone", {"detect", "--save"}, 2, "--save applies only with --all"}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

// The first-run step: every device but the console is tried, the tracker is found behind its
// by-id name and saved under the first free COM name (COM1 is the console), and from then on
// that name reaches it with no variable set.
TEST_F(PortsCommand, DetectAllSaveFindsTheTrackerAndMapsIt) {
    const CliResult r = run({"detect", "--all", "--save"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.err, "identification bytes")) << r.err;
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(lines[0], system.dev() + "/ttyACM0 no tracker");
    EXPECT_EQ(lines[1], system.dev() + "/ttyS0 skipped: the system console");
    EXPECT_EQ(lines[2].rfind(byId + " version 7.5", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "Saved COM2 = " + byId + " in " + system.userMap() + ".");
    EXPECT_EQ(console.receivedText(), "");
    EXPECT_EQ(tracker.bytesAfterClose().back(), 'R');

    const CliResult detect = run({"detect"});
    EXPECT_EQ(detect.exitCode, 0) << detect.err;
    EXPECT_EQ(detect.out.rfind("COM2 version 7.5", 0), 0u) << detect.out;
    EXPECT_EQ(console.receivedText(), "");

    const CliResult again = run({"detect", "--all", "--save"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_TRUE(has(again.out, "COM2 already names " + byId)) << again.out;
    const CliResult chosen = run({"detect", "--all", "--save", "COM4"});
    EXPECT_EQ(chosen.exitCode, 0) << chosen.err;
    EXPECT_TRUE(has(FakeSystem::readFile(system.userMap()), "COM4 = " + byId + "\n"));
}

TEST_F(PortsCommand, DetectAllSkipsADeviceInUse) {
    CliProcess holder({"read", "--port", byId}, environment());
    ASSERT_TRUE(holder.waitForLines(2, std::chrono::seconds(5)));
    const CliResult r = run({"detect", "--all"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(has(r.out, byId + " skipped: " + byId + " is busy: vexlink (pid ")) << r.out;
    EXPECT_TRUE(has(r.err, "no tracker answered on any serial device")) << r.err;
    holder.sendSignal(SIGINT);
    EXPECT_EQ(holder.finish(std::chrono::seconds(5)).exitCode, 0);
}

}  // namespace
