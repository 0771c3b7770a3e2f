// Pose datagrams over UDP in the layout of opentrack's "UDP over network" input: six IEEE-754
// doubles, little-endian, x, y, z then yaw, pitch, roll (degrees). The tracker has no position,
// so x, y and z are 0.
#pragma once

#include "Options.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace vexlink_cli {

inline constexpr std::size_t kPoseDatagramSize = 6 * sizeof(double);

using PoseDatagram = std::array<std::uint8_t, kPoseDatagramSize>;

PoseDatagram encodePose(double yaw, double pitch, double roll);

class UdpPoseSender {
public:
    // Resolves the endpoint (numeric addresses, or names through the system's resolver, IPv4
    // before IPv6) and opens a non-blocking socket for it. Null with a one-line reason on failure.
    static std::unique_ptr<UdpPoseSender> open(const Endpoint& endpoint, std::string& error);
    ~UdpPoseSender();
    UdpPoseSender(const UdpPoseSender&) = delete;
    UdpPoseSender& operator=(const UdpPoseSender&) = delete;

    // Sends one datagram without waiting. False when it was not sent whole; lastError() tells
    // why (no listener is no failure: UDP does not report it to an unconnected socket).
    bool send(const PoseDatagram& datagram);
    std::string lastError() const { return lastError_; }

    const std::string& destination() const { return destination_; }

private:
    UdpPoseSender() = default;
    // The system's socket types stay in the .cpp file: <winsock2.h> brings <windows.h>, whose
    // DWORD and HANDLE differ from those of <vexlink/Vexlink.h>.
    std::intptr_t fd_ = -1;  // a descriptor, or a Windows SOCKET; -1 (INVALID_SOCKET) for none
    alignas(8) unsigned char address_[128] = {};  // a sockaddr_storage
    int addressLength_ = 0;
    std::string destination_;
    std::string lastError_;
};

}  // namespace vexlink_cli
