// Port names: COM1..COM4 through their variables or the default devices, absolute paths as given.
#include "platform/PortNames.h"

#include <ScriptedDevice.h>
#include <gtest/gtest.h>

using vexlink::platform::resolvePortName;

namespace {

struct NameCase {
    const char* name;
    const char* variable;  // value of VEXLINK_<name>; null: unset
    const char* expected;  // null: the name names no port
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << '"' << c.name << '"' << (c.variable ? std::string(" with ") + c.variable : std::string());
}

class PortNames : public ::testing::TestWithParam<NameCase> {
protected:
    testsupport::PortEnvironment env;
};

TEST_P(PortNames, Resolve) {
    const NameCase& c = GetParam();
    for (int n = 1; n <= 4; ++n) env.unset(n);
    if (c.variable) setenv((std::string("VEXLINK_") + c.name).c_str(), c.variable, 1);
    const auto path = resolvePortName(c.name);
    if (c.expected == nullptr) {
        EXPECT_FALSE(path.has_value()) << *path;
    } else {
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(*path, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PortNames,
    ::testing::Values(NameCase{"COM1", nullptr, "/dev/ttyS0"}, NameCase{"COM2", nullptr, "/dev/ttyS1"},
                      NameCase{"COM3", nullptr, "/dev/ttyS2"}, NameCase{"COM4", nullptr, "/dev/ttyS3"},
                      NameCase{"COM1", "/dev/ttyUSB0", "/dev/ttyUSB0"},
                      NameCase{"COM4", "/tmp/tracker", "/tmp/tracker"},
                      NameCase{"COM3", "", nullptr},  // set but empty: deliberately no port
                      NameCase{"/dev/serial/by-id/x", nullptr, "/dev/serial/by-id/x"},
                      NameCase{"COM5", nullptr, nullptr}, NameCase{"COM0", nullptr, nullptr},
                      NameCase{"com1", nullptr, nullptr}, NameCase{"COM12", nullptr, nullptr},
                      NameCase{"COM", nullptr, nullptr}, NameCase{"ttyS0", nullptr, nullptr},
                      NameCase{"dev/ttyS0", nullptr, nullptr}, NameCase{"", nullptr, nullptr}));

TEST(PortNamesNull, NullNamesNoPort) { EXPECT_FALSE(resolvePortName(nullptr).has_value()); }

}  // namespace
