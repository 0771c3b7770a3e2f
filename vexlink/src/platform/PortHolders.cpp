// The programs holding a device open, as /proc shows them.
#include "platform/DeviceNumber.h"

#include <vexlink/Ports.h>

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlink {

std::vector<std::string> portHolders(const std::string& path) {
    std::vector<std::string> holders;
    const auto device = platform::characterDevice(path);
    if (!device) return holders;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return holders;
    const std::string self = std::to_string(getpid());
    while (const dirent* process = readdir(proc)) {
        const std::string pid = process->d_name;
        if (pid.empty() || !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        if (pid == self) continue;
        const std::string fdFolder = "/proc/" + pid + "/fd";
        DIR* fds = opendir(fdFolder.c_str());
        if (fds == nullptr) continue;  // another user's process, or one that just ended
        bool holds = false;
        while (const dirent* fd = readdir(fds)) {
            if (fd->d_name[0] == '.') continue;
            struct stat st{};
            if (stat((fdFolder + "/" + fd->d_name).c_str(), &st) == 0 && S_ISCHR(st.st_mode) &&
                st.st_rdev == *device) {
                holds = true;
                break;
            }
        }
        closedir(fds);
        if (holds) {
            std::string name = platform::readAttribute("/proc/" + pid + "/comm");
            if (name.empty()) name = "a program";
            holders.push_back(name + " (pid " + pid + ")");
        }
    }
    closedir(proc);
    return holders;
}

}  // namespace vexlink
