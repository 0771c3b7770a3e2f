#include "OpenFailure.h"

#include <vexlink/Ports.h>

namespace vexlink_python {

namespace {

std::string describe(const std::string& port, const std::string& path) {
    return path.empty() || path == port ? port : port + " (" + path + ")";
}

const char* faultName(vexlink::PortFault fault) {
    switch (fault) {
    case vexlink::PortFault::None: return "";
    case vexlink::PortFault::InvalidName: return "invalid name";
    case vexlink::PortFault::NoPort: return "no port";
    case vexlink::PortFault::NotFound: return "not found";
    case vexlink::PortFault::PermissionDenied: return "permission denied";
    case vexlink::PortFault::Busy: return "busy";
    case vexlink::PortFault::NotSerial: return "not serial";
    case vexlink::PortFault::SystemConsole: return "system console";
    case vexlink::PortFault::Gone: return "gone";
    case vexlink::PortFault::SystemError: return "system error";
    }
    return "system error";
}

std::string devicePath(const std::string& port) { return vexlink::resolvePort(port).path; }

}  // namespace

PortFailure lastOpenFailure(const std::string& port) {
    const vexlink::PortError error = vexlink::lastPortError();
    PortFailure failure;
    failure.message = vexlink::describePortError(error);
    if (failure.message.empty()) failure.message = "cannot open " + port;
    if (error.osError != 0) failure.error = error.osError;
    failure.path = error.path;
    failure.fault = faultName(error.fault);
    failure.holder = error.holder;
    return failure;
}

std::string noTrackerMessage(const std::string& port) {
    return "no tracker answered on " + describe(port, devicePath(port));
}

}  // namespace vexlink_python
