// Port names: the order in which COM1..COM4 resolve (environment, user map, system map,
// default), the map files as a user writes them, and changes to one mapping.
#include "platform/CommApi.h"

#include <FakeSystem.h>
#include <ScriptedDevice.h>
#include <vexlink/Ports.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using testsupport::FakeSystem;
using vexlink::PortSource;

// Collects the library's warnings for the length of a test.
class Messages {
public:
    Messages() { vexlink::platform::SetMessageHandler(record, &shown); }
    ~Messages() { vexlink::platform::SetMessageHandler(nullptr, nullptr); }
    std::vector<std::string> shown;

private:
    static void record(const char* text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    }
};

class PortNameTest : public ::testing::Test {
protected:
    PortNameTest() {
        for (int n = 1; n <= 4; ++n) env.unset(n);
    }
    testsupport::PortEnvironment env;  // gives the COM variables back afterwards
    FakeSystem system;
    Messages messages;
};

struct OrderCase {
    const char* what;
    const char* name;
    std::optional<std::string> variable;  // VEXLINK_<name>
    const char* userMap;                  // file contents, or null for no file
    const char* systemMap;
    std::string path;  // "$DEV" stands for the test's dev folder
    PortSource source;
    std::string origin;  // "$USER", "$SYSTEM" stand for the map files
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.what; }

class ResolutionOrder : public PortNameTest, public ::testing::WithParamInterface<OrderCase> {};

std::string expand(std::string text, const FakeSystem& system) {
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"$DEV", system.dev()},
                                     {"$USER", system.userMap()},
                                     {"$SYSTEM", system.systemMap()}}) {
        if (const auto at = text.find(key); at != std::string::npos)
            text.replace(at, key.size(), value);
    }
    return text;
}

TEST_P(ResolutionOrder, FirstSourceWithAnEntryWins) {
    const OrderCase& c = GetParam();
    if (c.variable) setenv((std::string("VEXLINK_") + c.name).c_str(), c.variable->c_str(), 1);
    if (c.userMap) FakeSystem::writeFile(system.userMap(), c.userMap);
    if (c.systemMap) FakeSystem::writeFile(system.systemMap(), c.systemMap);

    const vexlink::ResolvedPort resolved = vexlink::resolvePort(c.name);
    EXPECT_EQ(resolved.path, expand(c.path, system));
    EXPECT_EQ(resolved.source, c.source) << vexlink::toString(resolved.source);
    EXPECT_EQ(resolved.origin, expand(c.origin, system));
    EXPECT_TRUE(messages.shown.empty());
}

const char kUser[] = "# mine\nCOM2 = /dev/user2\n\nCOM3 =\n";
const char kSystem[] = "COM2 = /dev/system2\nCOM3 = /dev/system3\nCOM4 = /dev/system4\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ResolutionOrder,
    ::testing::Values(
        OrderCase{"default", "COM1", std::nullopt, nullptr, nullptr, "$DEV/ttyS0",
                  PortSource::Default, "default"},
        OrderCase{"default past both maps", "COM1", std::nullopt, kUser, kSystem, "$DEV/ttyS0",
                  PortSource::Default, "default"},
        OrderCase{"system map", "COM4", std::nullopt, kUser, kSystem, "/dev/system4",
                  PortSource::SystemMap, "$SYSTEM:3"},
        OrderCase{"user map over system map", "COM2", std::nullopt, kUser, kSystem, "/dev/user2",
                  PortSource::UserMap, "$USER:2"},
        OrderCase{"empty user entry stops the search", "COM3", std::nullopt, kUser, kSystem, "",
                  PortSource::UserMap, "$USER:4"},
        OrderCase{"environment over both maps", "COM2", "/dev/env2", kUser, kSystem, "/dev/env2",
                  PortSource::Environment, "VEXLINK_COM2"},
        OrderCase{"empty variable: no port", "COM4", "", kUser, kSystem, "",
                  PortSource::Environment, "VEXLINK_COM4"},
        OrderCase{"absolute path", "/dev/serial/by-id/x", std::nullopt, kUser, kSystem,
                  "/dev/serial/by-id/x", PortSource::Path, ""},
        OrderCase{"COM5", "COM5", std::nullopt, kUser, kSystem, "", PortSource::Invalid, ""},
        OrderCase{"lower case", "com2", std::nullopt, kUser, kSystem, "", PortSource::Invalid, ""},
        OrderCase{"kernel name", "ttyS0", std::nullopt, kUser, kSystem, "", PortSource::Invalid,
                  ""},
        OrderCase{"relative path", "dev/ttyS0", std::nullopt, kUser, kSystem, "",
                  PortSource::Invalid, ""},
        OrderCase{"empty name", "", std::nullopt, kUser, kSystem, "", PortSource::Invalid, ""}));

TEST_F(PortNameTest, UserMapFollowsXdgConfigHomeElseHome) {
    EXPECT_EQ(vexlink::userPortMapPath(), system.userMap());
    setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored, as XDG says
    EXPECT_EQ(vexlink::userPortMapPath(), system.root() + "/home/.config/vexlink/ports.conf");
    setenv("XDG_CONFIG_HOME", "/elsewhere", 1);
    EXPECT_EQ(vexlink::userPortMapPath(), "/elsewhere/vexlink/ports.conf");
    EXPECT_EQ(vexlink::systemPortMapPath(), system.root() + "/etc/vexlink/ports.conf");
}

// A line that cannot be read is reported once, with file and line, and skipped; the rest of
// the map still counts, and the last line for a name wins.
TEST_F(PortNameTest, UnreadableLinesAreReportedOnceAndSkipped) {
    FakeSystem::writeFile(system.userMap(),
                          "COM1 = /dev/first\n"  // 1
                          "  # indented comment\n"
                          "COM5 = /dev/x\n"   // 3: no such name
                          "COM2 /dev/y\n"     // 4: no '='
                          "COM3 = ttyUSB0\n"  // 5: not absolute
                          "just words\n"      // 6
                          "\t COM1\t=\t/dev/second \t\n");
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(vexlink::resolvePort("COM1").path, "/dev/second");
        EXPECT_EQ(vexlink::resolvePort("COM2").source, PortSource::Default);
        EXPECT_EQ(vexlink::resolvePort("COM3").source, PortSource::Default);
    }
    ASSERT_EQ(messages.shown.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string where = system.userMap() + ":" + std::to_string(i + 3) + ": ";
        EXPECT_EQ(messages.shown[i].rfind(where, 0), 0u) << messages.shown[i];
    }
    EXPECT_NE(messages.shown[2].find("\"COM3 = ttyUSB0\""), std::string::npos) << messages.shown[2];

    const auto entries = vexlink::readPortMap(system.userMap());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].com, 1);
    EXPECT_EQ(entries[0].line, 7);
}

TEST_F(PortNameTest, MissingOrUnreadableMapIsEmpty) {
    EXPECT_TRUE(vexlink::readPortMap(system.userMap()).empty());
    std::filesystem::create_directories(system.userMap());  // a folder where the file should be
    EXPECT_EQ(vexlink::resolvePort("COM2").source, PortSource::Default);
    EXPECT_TRUE(messages.shown.empty());
}

// Changing one mapping keeps every other line as the user wrote it.
TEST_F(PortNameTest, SettingAndRemovingKeepTheRestOfTheFile) {
    std::string error;
    ASSERT_TRUE(vexlink::setPortMapping(system.userMap(), 3, "/dev/serial/by-id/a", error))
        << error;
    EXPECT_EQ(vexlink::resolvePort("COM3").path, "/dev/serial/by-id/a");

    FakeSystem::writeFile(system.userMap(),
                          "# my ports\nCOM1 = /dev/one\nCOM3 = /dev/old\n\nCOM3 = /dev/older\n");
    ASSERT_TRUE(vexlink::setPortMapping(system.userMap(), 3, "/dev/new", error)) << error;
    EXPECT_EQ(FakeSystem::readFile(system.userMap()),
              "# my ports\nCOM1 = /dev/one\nCOM3 = /dev/new\n\n");
    ASSERT_TRUE(vexlink::setPortMapping(system.userMap(), 4, "", error)) << error;
    EXPECT_EQ(FakeSystem::readFile(system.userMap()),
              "# my ports\nCOM1 = /dev/one\nCOM3 = /dev/new\n\nCOM4 =\n");
    EXPECT_EQ(vexlink::resolvePort("COM4").path, "");

    ASSERT_TRUE(vexlink::removePortMapping(system.userMap(), 3, error)) << error;
    ASSERT_TRUE(vexlink::removePortMapping(system.userMap(), 2, error))
        << error;  // none: nothing to do
    EXPECT_EQ(FakeSystem::readFile(system.userMap()), "# my ports\nCOM1 = /dev/one\n\nCOM4 =\n");
    EXPECT_EQ(vexlink::resolvePort("COM3").source, PortSource::Default);

    EXPECT_FALSE(vexlink::setPortMapping(system.userMap(), 5, "/dev/x", error));
    EXPECT_FALSE(vexlink::setPortMapping(system.userMap(), 1, "ttyUSB0", error));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PortNameTest, WritingFailsWithAReason) {
    FakeSystem::writeFile(system.root() + "/blocked", "a file, not a folder\n");
    std::string error;
    EXPECT_FALSE(
        vexlink::setPortMapping(system.root() + "/blocked/ports.conf", 1, "/dev/x", error));
    EXPECT_NE(error.find(system.root() + "/blocked"), std::string::npos) << error;
}

}  // namespace
