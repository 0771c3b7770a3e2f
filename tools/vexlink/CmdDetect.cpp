#include "Commands.h"
#include "Report.h"
#include "TrackerSession.h"

#include <vexlink/Ports.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace vexlink_cli {

namespace {

// A version text as one printable line: other bytes as '?'.
std::string printable(const char* text) {
    std::string out;
    for (const char* c = text; *c; ++c) out += (*c >= 0x20 && *c < 0x7f) ? *c : '?';
    return out;
}

// The COM name --save uses when none is given: the first that nothing maps (no variable, no
// map entry) and whose default device is no serial port present. 0 when there is none.
int firstFreeCom(const std::vector<vexlink::SerialDevice>& devices) {
    for (int n = 1; n <= vexlink::kComPortCount; ++n) {
        const std::string name = "COM" + std::to_string(n);
        if (vexlink::resolvePort(name).source != vexlink::PortSource::Default) continue;
        bool taken = false;
        for (const auto& d : devices)
            for (const auto& com : d.comNames) taken = taken || com == name;
        if (!taken) return n;
    }
    return 0;
}

int save(const Options& options, const vexlink::SerialDevice& found,
         const std::vector<vexlink::SerialDevice>& devices) {
    int com = options.detect.saveAs;
    if (com == 0) {
        if (!found.comNames.empty()) {
            std::printf("%s already names %s: nothing to save.\n", found.comNames.front().c_str(),
                        found.path.c_str());
            return kExitOk;
        }
        com = firstFreeCom(devices);
        if (com == 0) {
            report(options.subcommand,
                   "COM1 to COM4 all name a port already: give the one to use, as in --save COM4");
            return kExitFailure;
        }
    }
    const std::string name = "COM" + std::to_string(com);
    const std::string file = vexlink::userPortMapPath();
    std::string error;
    if (file.empty()) error = "no place for your port map: neither XDG_CONFIG_HOME nor HOME is set";
    if (!error.empty() || !vexlink::setPortMapping(file, com, found.path, error)) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    std::printf("Saved %s = %s in %s.\n", name.c_str(), found.path.c_str(), file.c_str());
    const std::string variable = "VEXLINK_" + name;
    if (std::getenv(variable.c_str()) != nullptr)
        std::printf("Note: %s is set in this environment and wins over the map here.\n",
                    variable.c_str());
    return kExitOk;
}

// Identifies the tracker on every serial device present but the console and held devices.
int detectAll(const Options& options) {
    std::fprintf(
        stderr,
        "vexlink detect: trying each serial device in turn; each one tried is sent the tracker's "
        "identification bytes ('L', 'G', 'X', and 'R' after), the system console and devices "
        "in use are left alone\n");
    std::fflush(stderr);
    const auto devices = vexlink::listSerialDevices();
    if (devices.empty()) {
        report(options.subcommand,
               "no serial devices found: plug in the tracker's adapter ('vexlink ports' lists what "
               "is present)");
        return kExitFailure;
    }
    std::optional<vexlink::SerialDevice> first;
    for (const auto& d : devices) {
        if (d.isConsole) {
            std::printf("%s skipped: the system console\n", d.path.c_str());
            continue;
        }
        Vexlink link;
        if (link.OpenCom(d.path.c_str()) != 1) {
            const vexlink::PortError error = vexlink::lastPortError();
            if (error.fault == vexlink::PortFault::None) {
                std::printf("%s no tracker\n", d.path.c_str());
            } else {
                std::printf("%s skipped: %s\n", d.path.c_str(),
                            vexlink::describePortError(error).c_str());
            }
            std::fflush(stdout);
            continue;
        }
        const char* version = link.Get_Version();
        const std::string text = version ? printable(version) : "";
        link.CloseCom(link.GetComHandle());
        std::printf("%s version %s\n", d.path.c_str(), text.c_str());
        std::fflush(stdout);
        if (!first) first = d;
    }
    if (!first) {
        report(options.subcommand, "no tracker answered on any serial device");
        return kExitFailure;
    }
    const int status = options.detect.save ? save(options, *first, devices) : kExitOk;
    return std::fflush(stdout) == 0 ? status : kExitFailure;
}

}  // namespace

int runDetect(const Options& options) {
    if (options.detect.all) return detectAll(options);
    const int messagesBefore = libraryMessageCount();
    std::unique_ptr<TrackerSession> session = TrackerSession::detect();
    if (!session) {
        // The library reports the scan's failure itself; add a reason only if it did not.
        if (libraryMessageCount() == messagesBefore) {
            report(options.subcommand, "no tracker answered on COM1 to COM4");
        }
        return kExitFailure;
    }
    const char* version = session->link().Get_Version();
    std::string error;
    if (version == nullptr) {
        report(options.subcommand, "the version request to " + session->port() + " failed");
        session->close(error);
        return kExitFailure;
    }
    std::printf("%s version %s\n", session->port().c_str(), escapedText(version).c_str());
    if (!session->close(error)) {
        report(options.subcommand, error);
        return kExitFailure;
    }
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
}

}  // namespace vexlink_cli
