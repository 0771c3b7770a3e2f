// Pose datagrams: their byte layout, and delivery through a real socket on 127.0.0.1.
#include "UdpListener.h"
#include "UdpPoseSender.h"

#include <gtest/gtest.h>

using namespace vexlink_cli;
using cli_test::UdpListener;

TEST(PoseDatagram, SixLittleEndianDoublesPositionFirst) {
    const PoseDatagram d = encodePose(1.0, -2.0, 0.5);
    ASSERT_EQ(d.size(), 48u);
    for (std::size_t i = 0; i < 24; ++i) EXPECT_EQ(d[i], 0) << i;  // x, y, z
    // 1.0 = 0x3FF0000000000000, -2.0 = 0xC000000000000000, 0.5 = 0x3FE0000000000000,
    // low byte first.
    const std::uint8_t yaw[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    const std::uint8_t pitch[8] = {0, 0, 0, 0, 0, 0, 0x00, 0xC0};
    const std::uint8_t roll[8] = {0, 0, 0, 0, 0, 0, 0xE0, 0x3F};
    for (std::size_t b = 0; b < 8; ++b) {
        EXPECT_EQ(d[24 + b], yaw[b]) << b;
        EXPECT_EQ(d[32 + b], pitch[b]) << b;
        EXPECT_EQ(d[40 + b], roll[b]) << b;
    }
}

TEST(UdpPoseSender, DeliversDatagramsThatDecodeToThePose) {
    UdpListener listener;
    std::string error;
    auto sender = UdpPoseSender::open({"127.0.0.1", listener.port()}, error);
    ASSERT_NE(sender, nullptr) << error;
    EXPECT_EQ(sender->destination(), "127.0.0.1:" + std::to_string(listener.port()));
    for (double yaw : {-180.0, -1.0, 0.0, 179.0}) {
        ASSERT_TRUE(sender->send(encodePose(yaw, 12.0, -91.0)));
        auto datagram = listener.receive(std::chrono::seconds(2));
        ASSERT_TRUE(datagram.has_value());
        ASSERT_EQ(datagram->size(), 48u);
        const auto v = cli_test::decodePose(*datagram);
        EXPECT_EQ(v, (std::array<double, 6>{0, 0, 0, yaw, 12.0, -91.0}));
    }
}

TEST(UdpPoseSender, NamesAnIPv6DestinationInBrackets) {
    std::string error;
    auto sender = UdpPoseSender::open({"::1", 4242}, error);
    if (!sender) GTEST_SKIP() << "no IPv6 here: " << error;
    EXPECT_EQ(sender->destination(), "[::1]:4242");
}

TEST(UdpPoseSender, NoListenerIsNoFailure) {
    int port;
    {
        UdpListener closedAgain;
        port = closedAgain.port();
    }
    std::string error;
    auto sender = UdpPoseSender::open({"127.0.0.1", port}, error);
    ASSERT_NE(sender, nullptr) << error;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(sender->send(encodePose(0, 0, 0)));
}
