// Port names on Windows: COMn in any letter case and "\\.\" device paths; nothing else. The
// port map and VEXLINK_COMn are the Linux side's and play no part.
#include <vexlink/Ports.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct NameCase {
    const char* name;
    const char* expected;  // null: the name names no port
};

class PortNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(PortNames, Resolve) {
    const NameCase& c = GetParam();
    const vexlink::ResolvedPort resolved = vexlink::resolvePort(c.name);
    if (c.expected == nullptr) {
        EXPECT_EQ(resolved.source, vexlink::PortSource::Invalid) << resolved.path;
        EXPECT_TRUE(resolved.path.empty());
    } else {
        EXPECT_NE(resolved.source, vexlink::PortSource::Invalid);
        EXPECT_EQ(resolved.path, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, PortNames,
    ::testing::Values(NameCase{"COM1", "\\\\.\\COM1"}, NameCase{"com4", "\\\\.\\COM4"},
                      NameCase{"COM12", "\\\\.\\COM12"}, NameCase{"COM255", "\\\\.\\COM255"},
                      NameCase{"\\\\.\\COM7", "\\\\.\\COM7"},
                      NameCase{"\\\\.\\CNCA0", "\\\\.\\CNCA0"}, NameCase{"COM0", nullptr},
                      NameCase{"COM256", nullptr}, NameCase{"COM01", nullptr},
                      NameCase{"COM", nullptr}, NameCase{"COM1:", nullptr},
                      NameCase{"\\\\.\\", nullptr}, NameCase{"/dev/ttyS0", nullptr},
                      NameCase{"C:\\COM1", nullptr}, NameCase{"", nullptr}));

TEST(PortNames, TheEnvironmentPlaysNoPart) {
    _putenv("VEXLINK_COM3=C:\\elsewhere");
    EXPECT_EQ(vexlink::resolvePort("COM3").path, "\\\\.\\COM3");
    _putenv("VEXLINK_COM3=");
}

}  // namespace
