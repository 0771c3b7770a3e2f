// vexlink ports: the serial devices present and the COM map; setting and removing mappings.
#include "Commands.h"
#include "Report.h"

#include <vexlink/Ports.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace vexlink_cli {

namespace {

std::string json(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        if (!out.empty()) out += separator;
        out += part;
    }
    return out;
}

// "FTDI FT232R USB UART, serial A1B2C3", or the driver's kind for a device without USB strings.
std::string description(const vexlink::SerialDevice& d) {
    std::string text = joined({d.manufacturer, d.product}, " ");
    if (!d.serialNumber.empty()) text = joined({text, "serial " + d.serialNumber}, ", ");
    if (d.isConsole) text = joined({text, "SYSTEM CONSOLE (never opened)"}, ", ");
    return text;
}

// Where a COM name's device came from, for people.
std::string origin(const vexlink::ResolvedPort& r) {
    switch (r.source) {
    case vexlink::PortSource::Environment: return "environment (" + r.origin + ")";
    case vexlink::PortSource::UserMap:
    case vexlink::PortSource::SystemMap:
        return std::string(vexlink::toString(r.source)) + " (" + r.origin + ")";
    default: return vexlink::toString(r.source);
    }
}

// Whether a COM name's path names a serial device that is there now.
std::string presence(const vexlink::ResolvedPort& r,
                     const std::vector<vexlink::SerialDevice>& devices) {
    if (r.path.empty()) return "no port";
    if (access(r.path.c_str(), F_OK) != 0) return "not present";
    for (const auto& d : devices) {
        if (std::find(d.comNames.begin(), d.comNames.end(), r.name) == d.comNames.end()) continue;
        return d.isConsole ? "system console" : "present";
    }
    return "no device behind it";
}

void printTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (widths.size() <= i) widths.push_back(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::printf("%s\n", line.c_str());
    }
}

int list(const Options& options) {
    const auto devices = vexlink::listSerialDevices();
    std::vector<vexlink::ResolvedPort> coms;
    for (int n = 1; n <= vexlink::kComPortCount; ++n)
        coms.push_back(vexlink::resolvePort("COM" + std::to_string(n)));

    if (options.format == OutputFormat::Jsonl) {
        for (const auto& d : devices) {
            std::string comNames;
            for (const auto& name : d.comNames) {
                if (!comNames.empty()) comNames += ',';
                comNames += json(name);
            }
            std::printf(
                "{\"kind\":\"device\",\"path\":%s,\"device\":%s,\"kernel\":%s,\"driver\":%s,"
                "\"vendor_id\":%s,\"product_id\":%s,\"manufacturer\":%s,\"product\":%s,\"serial\":%"
                "s,"
                "\"console\":%s,\"com\":[%s]}\n",
                json(d.path).c_str(), json(d.devicePath).c_str(), json(d.kernelName).c_str(),
                json(d.driver).c_str(), json(d.vendorId).c_str(), json(d.productId).c_str(),
                json(d.manufacturer).c_str(), json(d.product).c_str(), json(d.serialNumber).c_str(),
                d.isConsole ? "true" : "false", comNames.c_str());
        }
        for (const auto& r : coms) {
            std::printf(
                "{\"kind\":\"com\",\"name\":%s,\"path\":%s,\"source\":%s,\"origin\":%s,\"state\":%"
                "s}\n",
                json(r.name).c_str(), json(r.path).c_str(),
                json(vexlink::toString(r.source)).c_str(), json(r.origin).c_str(),
                json(presence(r, devices)).c_str());
        }
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }

    if (devices.empty()) {
        std::printf(
            "No serial devices found. Plug in the tracker's adapter; 'dmesg' shows whether the\n"
            "system saw it.\n");
    } else {
        std::vector<std::vector<std::string>> rows{
            {"DEVICE", "KERNEL", "DRIVER", "USB ID", "DESCRIPTION", "COM"}};
        for (const auto& d : devices) {
            const std::string usbId = d.vendorId.empty() ? "" : d.vendorId + ":" + d.productId;
            rows.push_back(
                {d.path, d.kernelName, d.driver, usbId, description(d), joined(d.comNames, ",")});
        }
        printTable(rows);
    }
    std::printf("\n");
    std::vector<std::vector<std::string>> rows{{"COM", "DEVICE", "STATE", "FROM"}};
    for (const auto& r : coms)
        rows.push_back({r.name, r.path.empty() ? "-" : r.path, presence(r, devices), origin(r)});
    printTable(rows);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

std::string mapFile(const Options& options, std::string& error) {
    if (options.ports.system) return vexlink::systemPortMapPath();
    const std::string file = vexlink::userPortMapPath();
    if (file.empty()) error = "no place for your port map: neither XDG_CONFIG_HOME nor HOME is set";
    return file;
}

// The system map belongs to root.
std::string rootHint(const Options& options) {
#if defined(_WIN32)
    (void)options;
    return "";
#else
    return options.ports.system && geteuid() != 0 ? "; the system map is root's: run it with sudo"
                                                  : "";
#endif
}

// A variable set in this environment wins over the map: say so, so that a change does not
// seem to have no effect.
void noteVariable(const std::string& com) {
    const std::string variable = "VEXLINK_" + com;
    if (const char* value = std::getenv(variable.c_str()))
        std::printf("Note: %s is set (\"%s\") and wins over the map where it is set.\n",
                    variable.c_str(), value);
}

int set(const Options& options) {
#if defined(_WIN32)
    report(options.subcommand,
           "the port map is for Linux: Windows names its ports itself (Device Manager, "
           "Ports (COM & LPT), sets a port's number)");
    return kExitFailure;
#endif
    const std::string com = "COM" + std::to_string(options.ports.com);
    std::string path = options.ports.path;
    if (access(path.c_str(), F_OK) != 0) {
        report(options.subcommand, path +
                                       " does not exist: is the adapter plugged in? 'vexlink "
                                       "ports' lists the serial devices present");
        return kExitFailure;
    }
    if (!vexlink::isSerialDevice(path)) {
        report(options.subcommand,
               path + " is not a serial device; 'vexlink ports' lists the serial devices present");
        return kExitFailure;
    }
    if (vexlink::isSystemConsole(path)) {
        report(options.subcommand,
               path + " is the system console, which Vexlink never opens; choose another device");
        return kExitFailure;
    }
    const std::string stable = vexlink::stableDevicePath(path);
    if (!stable.empty() && stable != path) {
        std::printf(
            "Using %s for %s: that name stays the same when the adapter is plugged in again.\n",
            stable.c_str(), path.c_str());
        path = stable;
    }
    std::string error;
    const std::string file = mapFile(options, error);
    if (file.empty() || !vexlink::setPortMapping(file, options.ports.com, path, error)) {
        report(options.subcommand, error + rootHint(options));
        return kExitFailure;
    }
    std::printf("%s = %s (in %s)\n", com.c_str(), path.c_str(), file.c_str());
    noteVariable(com);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

int unset(const Options& options) {
#if defined(_WIN32)
    return set(options);
#endif
    const std::string com = "COM" + std::to_string(options.ports.com);
    std::string error;
    const std::string file = mapFile(options, error);
    if (file.empty() || !vexlink::removePortMapping(file, options.ports.com, error)) {
        report(options.subcommand, error + rootHint(options));
        return kExitFailure;
    }
    const vexlink::ResolvedPort now = vexlink::resolvePort(com);
    std::printf("%s removed from %s; %s is now %s (%s)\n", com.c_str(), file.c_str(), com.c_str(),
                now.path.empty() ? "no port" : now.path.c_str(), origin(now).c_str());
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

}  // namespace

int runPorts(const Options& options) {
    switch (options.ports.action) {
    case PortsAction::List: return list(options);
    case PortsAction::Set: return set(options);
    case PortsAction::Unset: return unset(options);
    }
    return kExitFailure;
}

}  // namespace vexlink_cli
