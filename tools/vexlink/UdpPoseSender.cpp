#include "UdpPoseSender.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vexlink_cli {

PoseDatagram encodePose(double yaw, double pitch, double roll) {
    const double values[6] = {0.0, 0.0, 0.0, yaw, pitch, roll};
    PoseDatagram datagram{};
    for (int i = 0; i < 6; ++i) {
        std::uint64_t bits;
        static_assert(sizeof bits == sizeof(double));
        std::memcpy(&bits, &values[i], sizeof bits);
        for (int b = 0; b < 8; ++b) {
            datagram[static_cast<std::size_t>(i * 8 + b)] = static_cast<std::uint8_t>(bits >> (8 * b));
        }
    }
    return datagram;
}

std::unique_ptr<UdpPoseSender> UdpPoseSender::open(const Endpoint& endpoint, std::string& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(endpoint.port);
    if (int rc = getaddrinfo(endpoint.host.c_str(), service.c_str(), &hints, &found); rc != 0) {
        error = "cannot resolve '" + endpoint.host + "': " + gai_strerror(rc);
        return nullptr;
    }
    std::unique_ptr<UdpPoseSender> sender(new UdpPoseSender());
    // A name with both kinds of address goes to IPv4 first: receivers commonly listen there.
    int lastErrno = 0;
    for (bool ipv4Pass : {true, false}) {
        for (addrinfo* ai = found; ai != nullptr && sender->fd_ < 0; ai = ai->ai_next) {
            if ((ai->ai_family == AF_INET) != ipv4Pass || ai->ai_addrlen > sizeof sender->address_) continue;
            int fd = socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
            if (fd < 0) {
                lastErrno = errno;
                continue;
            }
            sender->fd_ = fd;
            std::memcpy(&sender->address_, ai->ai_addr, ai->ai_addrlen);
            sender->addressLength_ = ai->ai_addrlen;
        }
    }
    freeaddrinfo(found);
    if (sender->fd_ < 0) {
        error = "cannot open a UDP socket for '" + endpoint.host + "': " +
                (lastErrno ? std::strerror(lastErrno) : "no usable address");
        return nullptr;
    }
    // An IPv6 address is written in brackets, as it is given: [::1]:4242.
    const bool ipv6 = endpoint.host.find(':') != std::string::npos;
    sender->destination_ = (ipv6 ? "[" + endpoint.host + "]" : endpoint.host) + ":" + service;
    return sender;
}

UdpPoseSender::~UdpPoseSender() {
    if (fd_ >= 0) close(fd_);
}

bool UdpPoseSender::send(const PoseDatagram& datagram) {
    ssize_t sent;
    do {
        sent = sendto(fd_, datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                      reinterpret_cast<const sockaddr*>(&address_), addressLength_);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(datagram.size());
}

}  // namespace vexlink_cli
