#include "PortSystem.h"

#include <windows.h>

#include <cctype>

namespace vexlink_cli {

namespace {

bool isComName(const std::string& port) {
    if (port.size() < 4 || port.size() > 6) return false;
    for (int i = 0; i < 3; ++i)
        if (std::toupper(static_cast<unsigned char>(port[i])) != "COM"[i]) return false;
    for (std::size_t i = 3; i < port.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(port[i]))) return false;
    return port[3] != '0';
}

}  // namespace

std::string devicePath(const std::string& port) {
    return isComName(port) ? "\\\\.\\COM" + port.substr(3) : port;
}

std::string openFailureReason(const std::string&) {
    const DWORD error = ::GetLastError();
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return "no such port";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return "in use by another program";
    default: break;
    }
    char text[256] = "";
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                     error, 0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason.empty() ? "system error " + std::to_string(error) : reason;
}

}  // namespace vexlink_cli
