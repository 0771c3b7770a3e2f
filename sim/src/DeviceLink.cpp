#include "DeviceLink.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace korvisor {

namespace {

std::string linkTarget(const std::string& path) {
    char buf[4096];
    ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

void pointLink(const std::string& path, const std::string& target) {
    struct stat st{};
    if (lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode))
        throw std::system_error(EEXIST, std::generic_category(), path + " exists and is not a link");
    const std::string temp = path + ".korvisor-sim." + std::to_string(getpid());
    unlink(temp.c_str());
    if (symlink(target.c_str(), temp.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot create link " + path);
    if (rename(temp.c_str(), path.c_str()) != 0) {
        int e = errno;
        unlink(temp.c_str());
        throw std::system_error(e, std::generic_category(), "cannot create link " + path);
    }
}

void removeLink(const std::string& path, const std::string& target) {
    if (!path.empty() && !target.empty() && linkTarget(path) == target) unlink(path.c_str());
}

}  // namespace korvisor
