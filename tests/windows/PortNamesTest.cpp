// Port names on Windows: COMn in any letter case and "\\.\" device paths; nothing else.
#include "platform/PortNames.h"

#include <gtest/gtest.h>

using vexlink::platform::resolvePortName;

namespace {

struct NameCase {
    const char* name;
    const char* expected;  // null: the name names no port
};

class PortNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(PortNames, Resolve) {
    const NameCase& c = GetParam();
    const auto path = resolvePortName(c.name);
    if (c.expected == nullptr) {
        EXPECT_FALSE(path.has_value()) << *path;
    } else {
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(*path, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, PortNames,
                         ::testing::Values(NameCase{"COM1", "\\\\.\\COM1"}, NameCase{"com4", "\\\\.\\COM4"},
                                           NameCase{"COM12", "\\\\.\\COM12"}, NameCase{"COM255", "\\\\.\\COM255"},
                                           NameCase{"\\\\.\\COM7", "\\\\.\\COM7"},
                                           NameCase{"\\\\.\\CNCA0", "\\\\.\\CNCA0"}, NameCase{"COM0", nullptr},
                                           NameCase{"COM256", nullptr}, NameCase{"COM01", nullptr},
                                           NameCase{"COM", nullptr}, NameCase{"COM1:", nullptr},
                                           NameCase{"\\\\.\\", nullptr}, NameCase{"/dev/ttyS0", nullptr},
                                           NameCase{"C:\\COM1", nullptr}, NameCase{"", nullptr}));

TEST(PortNames, NullNamesNoPort) { EXPECT_FALSE(resolvePortName(nullptr).has_value()); }

}  // namespace
