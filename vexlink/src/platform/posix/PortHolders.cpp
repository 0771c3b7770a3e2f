// The programs holding a device open, as /proc shows them.
#include "platform/posix/DeviceNumber.h"

#include <vexlink/Ports.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/sysmacros.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexlink {

namespace {

// The process holding a flock on the file at path, from /proc/locks, whose lines read
// "1: FLOCK  ADVISORY  WRITE 4242 00:05:87 0 EOF" (pid, then device major:minor:inode in hex).
std::string lockHolder(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return {};
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, file;
        if (!(fields >> number >> kind)) continue;
        if (kind == "->") fields >> kind;  // a waiting lock
        if (!(fields >> mode >> access >> pid >> file) || kind != "FLOCK") continue;
        unsigned major = 0, minor = 0;
        unsigned long inode = 0;
        if (std::sscanf(file.c_str(), "%x:%x:%lu", &major, &minor, &inode) != 3) continue;
        if (inode == st.st_ino && makedev(major, minor) == st.st_dev) return pid;
    }
    return {};
}

}  // namespace

std::vector<std::string> portHolders(const std::string& path) {
    std::vector<std::string> holders;
    const auto device = platform::characterDevice(path);
    if (!device) return holders;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return holders;
    const std::string self = std::to_string(getpid());
    while (const dirent* process = readdir(proc)) {
        const std::string pid = process->d_name;
        if (pid.empty() ||
            !std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); }))
            continue;
        if (pid == self) continue;
        const std::string fdFolder = "/proc/" + pid + "/fd";
        DIR* fds = opendir(fdFolder.c_str());
        if (fds == nullptr) continue;  // another user's process, or one that just ended
        bool holds = false;
        while (const dirent* fd = readdir(fds)) {
            if (fd->d_name[0] == '.') continue;
            struct stat st {};
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
    // The holder of the port's lock (another program of this library) first.
    const std::string locker = lockHolder(path);
    if (!locker.empty()) {
        const std::string tag = "(pid " + locker + ")";
        std::stable_partition(holders.begin(), holders.end(), [&](const std::string& h) {
            return h.size() >= tag.size() && h.compare(h.size() - tag.size(), tag.size(), tag) == 0;
        });
    }
    return holders;
}

}  // namespace vexlink
