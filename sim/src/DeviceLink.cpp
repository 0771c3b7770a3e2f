#include "DeviceLink.h"

#include <cerrno>
#include <cstdio>
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
    // symlink never replaces anything, so the check and the making are one step.
    if (symlink(target.c_str(), path.c_str()) == 0) return;
    const int e = errno;
    if (e == EEXIST)
        throw std::system_error(e, std::generic_category(),
                                "cannot create link " + path +
                                    ": it exists, and is not this simulator's "
                                    "(remove it if a run that was killed left it)");
    throw std::system_error(e, std::generic_category(), "cannot create link " + path);
}

void removeLink(const std::string& path, const std::string& target) {
    if (!path.empty() && !target.empty() && linkTarget(path) == target) unlink(path.c_str());
}

}  // namespace korvisor
