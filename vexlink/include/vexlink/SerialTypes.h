// Serial-port types of the Vexlink API: the port handle, the line-settings record and the
// 32-bit count type. They are the library's own, modelled on the records a Windows serial
// program knows, so that a port is handled the same way whatever the host system.
#pragma once

#include <cstdint>

using DWORD = std::uint32_t;

// An open port. A handle is a token, never an operating-system descriptor: once its port is
// closed it stays invalid for good, even after the system has reused the descriptor for
// another file. The default value refers to no port.
struct HANDLE {
    std::uint64_t value = 0;
    friend constexpr bool operator==(HANDLE, HANDLE) = default;
};

inline constexpr HANDLE INVALID_HANDLE_VALUE{};

// Parity and stop-bit codes of DCB.
inline constexpr std::uint8_t NOPARITY = 0;
inline constexpr std::uint8_t ODDPARITY = 1;
inline constexpr std::uint8_t EVENPARITY = 2;
inline constexpr std::uint8_t ONESTOPBIT = 0;
inline constexpr std::uint8_t TWOSTOPBITS = 2;

// A port's line settings, as read by GetDCB and changed by Set9600 and Set19200.
struct DCB {
    DWORD DCBlength = sizeof(DCB);
    DWORD BaudRate = 0;             // bit/s
    std::uint8_t fOutxCtsFlow = 0;  // RTS/CTS hardware flow control
    std::uint8_t ByteSize = 8;      // data bits, 5 to 8
    std::uint8_t Parity = NOPARITY;
    std::uint8_t StopBits = ONESTOPBIT;
};
