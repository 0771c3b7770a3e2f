// A UDP socket bound to 127.0.0.1 on a port the system picks, standing in for the program
// that receives the pose datagrams.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace cli_test {

class UdpListener {
public:
#if defined(_WIN32)
    using Socket = SOCKET;
    static constexpr Socket kNoSocket = INVALID_SOCKET;
    static void closeSocket(Socket s) { closesocket(s); }
    static Socket openSocket() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);  // counted: the sender's own start stays valid
        return socket(AF_INET, SOCK_DGRAM, 0);
    }
    static bool readable(Socket s, int timeoutMs) {
        WSAPOLLFD p{s, POLLRDNORM, 0};
        return WSAPoll(&p, 1, timeoutMs) > 0;
    }
#else
    using Socket = int;
    static constexpr Socket kNoSocket = -1;
    static void closeSocket(Socket s) { close(s); }
    static Socket openSocket() { return socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0); }
    static bool readable(Socket s, int timeoutMs) {
        pollfd p{s, POLLIN, 0};
        return poll(&p, 1, timeoutMs) > 0;
    }
#endif

    explicit UdpListener(int port = 0) {
        fd_ = openSocket();
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        socklen_t length = sizeof address;
        if (fd_ == kNoSocket ||
            bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            if (fd_ != kNoSocket) closeSocket(fd_);
            throw std::runtime_error("cannot bind a UDP socket on 127.0.0.1");
        }
        port_ = ntohs(address.sin_port);
    }
    ~UdpListener() { closeSocket(fd_); }
    UdpListener(const UdpListener&) = delete;
    UdpListener& operator=(const UdpListener&) = delete;

    int port() const { return port_; }

    // The next datagram, whatever its size; none within timeout gives nullopt.
    std::optional<std::vector<std::uint8_t>> receive(std::chrono::milliseconds timeout) {
        if (!readable(fd_, static_cast<int>(timeout.count()))) return std::nullopt;
        std::vector<std::uint8_t> buffer(2048);
        const auto n =
            recv(fd_, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
        if (n < 0) return std::nullopt;
        buffer.resize(static_cast<std::size_t>(n));
        return buffer;
    }

private:
    Socket fd_ = kNoSocket;
    int port_ = 0;
};

// The six little-endian doubles of a pose datagram, decoded without relying on host order.
inline std::array<double, 6> decodePose(const std::vector<std::uint8_t>& datagram) {
    std::array<double, 6> values{};
    for (std::size_t i = 0; i < 6 && datagram.size() >= 48; ++i) {
        std::uint64_t bits = 0;
        for (int b = 7; b >= 0; --b)
            bits = (bits << 8) | datagram[i * 8 + static_cast<std::size_t>(b)];
        std::memcpy(&values[i], &bits, sizeof bits);
    }
    return values;
}

}  // namespace cli_test
