#include "UdpPoseSender.h"

#include <cerrno>
#include <cstring>
#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#include <mswsock.h>  // SIO_UDP_CONNRESET
#else
#include <sys/socket.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vexlink_cli {

namespace {

#if defined(_WIN32)
// Winsock: started once for the process, before the first socket; sockets are SOCKET values,
// made non-blocking with ioctlsocket, closed with closesocket.
bool startSockets() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}
using Socket = SOCKET;
static_assert(sizeof(sockaddr_storage) <= 128 && sizeof(SOCKET) <= sizeof(std::intptr_t));
Socket toSocket(std::intptr_t fd) { return static_cast<SOCKET>(fd); }
bool isOpen(std::intptr_t fd) { return toSocket(fd) != INVALID_SOCKET; }
int lastSocketError() { return WSAGetLastError(); }
std::string socketErrorText(int error) {
    char text[256] = "";
    const DWORD n =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() &&
           (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason.empty() ? "socket error " + std::to_string(error) : reason;
}
SOCKET openSocket(const addrinfo* ai) {
    SOCKET s = socket(ai->ai_family, ai->ai_socktype, ai->ai_protocol);
    u_long nonBlocking = 1;
    if (s != INVALID_SOCKET && ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    // Windows reports a port unreachable answer to an earlier datagram as a failure of a later
    // send; with no listener (yet, or any more) that is no failure here.
    BOOL reportUnreachable = FALSE;
    DWORD unused = 0;
    WSAIoctl(s, SIO_UDP_CONNRESET, &reportUnreachable, sizeof reportUnreachable, nullptr, 0,
             &unused, nullptr, nullptr);
    return s;
}
void closeSocket(std::intptr_t fd) { closesocket(toSocket(fd)); }
#else
bool startSockets() { return true; }
using Socket = int;
static_assert(sizeof(sockaddr_storage) <= 128);
Socket toSocket(std::intptr_t fd) { return static_cast<int>(fd); }
bool isOpen(std::intptr_t fd) { return fd >= 0; }
int lastSocketError() { return errno; }
std::string socketErrorText(int error) { return std::strerror(error); }
int openSocket(const addrinfo* ai) {
    return socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
}
void closeSocket(std::intptr_t fd) { close(toSocket(fd)); }
#endif

}  // namespace

PoseDatagram encodePose(double yaw, double pitch, double roll) {
    const double values[6] = {0.0, 0.0, 0.0, yaw, pitch, roll};
    PoseDatagram datagram{};
    for (int i = 0; i < 6; ++i) {
        std::uint64_t bits;
        static_assert(sizeof bits == sizeof(double));
        std::memcpy(&bits, &values[i], sizeof bits);
        for (int b = 0; b < 8; ++b) {
            datagram[static_cast<std::size_t>(i * 8 + b)] =
                static_cast<std::uint8_t>(bits >> (8 * b));
        }
    }
    return datagram;
}

std::unique_ptr<UdpPoseSender> UdpPoseSender::open(const Endpoint& endpoint, std::string& error) {
    if (!startSockets()) {
        error = "cannot start the system's sockets";
        return nullptr;
    }
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
    int lastErrno = 0;  // the system's error code of the last failed socket()
    for (bool ipv4Pass : {true, false}) {
        for (addrinfo* ai = found; ai != nullptr && !isOpen(sender->fd_); ai = ai->ai_next) {
            if ((ai->ai_family == AF_INET) != ipv4Pass || ai->ai_addrlen > sizeof sender->address_)
                continue;
            const auto fd = openSocket(ai);
            if (!isOpen(fd)) {
                lastErrno = lastSocketError();
                continue;
            }
            sender->fd_ = static_cast<std::intptr_t>(fd);
            std::memcpy(&sender->address_, ai->ai_addr, ai->ai_addrlen);
            sender->addressLength_ = static_cast<int>(ai->ai_addrlen);
        }
    }
    freeaddrinfo(found);
    if (!isOpen(sender->fd_)) {
        error = "cannot open a UDP socket for '" + endpoint.host +
                "': " + (lastErrno ? socketErrorText(lastErrno) : "no usable address");
        return nullptr;
    }
    // An IPv6 address is written in brackets, as it is given: [::1]:4242.
    const bool ipv6 = endpoint.host.find(':') != std::string::npos;
    sender->destination_ = (ipv6 ? "[" + endpoint.host + "]" : endpoint.host) + ":" + service;
    return sender;
}

UdpPoseSender::~UdpPoseSender() {
    if (isOpen(fd_)) closeSocket(fd_);
}

bool UdpPoseSender::send(const PoseDatagram& datagram) {
#if defined(_WIN32)
    // The socket is non-blocking; Windows has no SIGPIPE to suppress.
    const int sent = sendto(toSocket(fd_), reinterpret_cast<const char*>(datagram.data()),
                            static_cast<int>(datagram.size()), 0,
                            reinterpret_cast<const sockaddr*>(address_), addressLength_);
    const bool whole = sent == static_cast<int>(datagram.size());
#else
    ssize_t sent;
    do {
        sent = sendto(toSocket(fd_), datagram.data(), datagram.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                      reinterpret_cast<const sockaddr*>(address_),
                      static_cast<socklen_t>(addressLength_));
    } while (sent < 0 && errno == EINTR);
    const bool whole = sent == static_cast<ssize_t>(datagram.size());
#endif
    if (!whole) lastError_ = sent < 0 ? socketErrorText(lastSocketError()) : "sent in part";
    return whole;
}

}  // namespace vexlink_cli
