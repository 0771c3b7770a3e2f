// Helpers of the operating-system layer's tests.
#pragma once

#include "platform/CommApi.h"

#include <ScriptedDevice.h>

#include <chrono>
#include <dirent.h>
#include <set>
#include <string>

namespace platformtest {

using namespace vexlink::platform;
using testsupport::Clock;
using testsupport::milliseconds;

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline COMMTIMEOUTS readTimeouts(DWORD interval, DWORD multiplier, DWORD constant) {
    COMMTIMEOUTS t;
    t.ReadIntervalTimeout = interval;
    t.ReadTotalTimeoutMultiplier = multiplier;
    t.ReadTotalTimeoutConstant = constant;
    return t;
}

// A port opened on a path and closed at the end of the scope (unless closed before).
struct ScopedPort {
    explicit ScopedPort(const std::string& path) : handle(CreateFileA(path.c_str())) {}
    ~ScopedPort() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    ScopedPort(const ScopedPort&) = delete;
    ScopedPort& operator=(const ScopedPort&) = delete;
    bool open() const { return handle != INVALID_HANDLE_VALUE; }
    HANDLE handle;
};

// The descriptor numbers this process has open now.
inline std::set<int> openDescriptors() {
    std::set<int> fds;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.') fds.insert(std::stoi(e->d_name));
        const int own = dirfd(d);
        closedir(d);
        fds.erase(own);
    }
    return fds;
}

}  // namespace platformtest
