// Port names: what COM1..COM4 stand for, and where that came from.
#include <vexlink/Ports.h>

#include "platform/posix/Roots.h"

#include <cstdlib>

namespace vexlink {

int comNumber(std::string_view name) {
    if (name.size() != 4 || name.substr(0, 3) != "COM" || name[3] < '1' ||
        name[3] > '0' + kComPortCount)
        return 0;
    return name[3] - '0';
}

const char* toString(PortSource source) {
    switch (source) {
    case PortSource::Path: return "path";
    case PortSource::Environment: return "environment";
    case PortSource::UserMap: return "user map";
    case PortSource::SystemMap: return "system map";
    case PortSource::Default: return "default";
    case PortSource::Invalid: break;
    }
    return "invalid";
}

ResolvedPort resolvePort(std::string_view name) {
    ResolvedPort resolved;
    resolved.name = std::string(name);
    if (!name.empty() && name[0] == '/') {
        resolved.path = resolved.name;
        resolved.source = PortSource::Path;
        return resolved;
    }
    const int com = comNumber(name);
    if (com == 0) return resolved;

    const std::string variable = "VEXLINK_" + resolved.name;
    if (const char* value = std::getenv(variable.c_str())) {
        resolved.path = value;
        resolved.source = PortSource::Environment;
        resolved.origin = variable;
        return resolved;
    }
    const std::pair<std::string, PortSource> maps[] = {
        {userPortMapPath(), PortSource::UserMap}, {systemPortMapPath(), PortSource::SystemMap}};
    for (const auto& [file, source] : maps) {
        for (const PortMapEntry& entry : readPortMap(file)) {
            if (entry.com != com) continue;
            resolved.path = entry.path;
            resolved.source = source;
            resolved.origin = file + ":" + std::to_string(entry.line);
            return resolved;
        }
    }
    resolved.path = platform::defaultComPath(com);
    resolved.source = PortSource::Default;
    resolved.origin = "default";
    return resolved;
}

}  // namespace vexlink
