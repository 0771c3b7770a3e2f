// Serial-port types of the Vexlink API: the port handle, the line-settings record and the
// 32-bit count type. On Windows they are the system's own (HANDLE, DWORD, DCB and the parity
// and stop-bit codes of <windows.h>), so that the header sits beside any Win32 code. Elsewhere
// they are the library's own, modelled on those records, so that a port is handled the same
// way whatever the host system.
#pragma once

#if defined(_WIN32)

// Only the base and kernel headers: the user-interface ones (winuser.h) would turn names such
// as MessageBox and IDOK into macros in every file that includes Vexlink.h. NOMINMAX keeps
// min and max usable as the standard library's.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windef.h>
#include <winbase.h>

// An open port. The value is a token of the library, never a system handle: once its port is
// closed it stays invalid for good, even after the system has reused the handle for another
// object. INVALID_HANDLE_VALUE refers to no port. Pass it only to the library's members.

#else

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
    DWORD BaudRate = 0;          // bit/s
    std::uint8_t fOutxCtsFlow = 0;  // RTS/CTS hardware flow control
    std::uint8_t ByteSize = 8;      // data bits, 5 to 8
    std::uint8_t Parity = NOPARITY;
    std::uint8_t StopBits = ONESTOPBIT;
};

#endif
