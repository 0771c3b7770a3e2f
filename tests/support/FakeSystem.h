// A machine of the test's own for the port map and the device listing: a dev folder
// (VEXLINK_DEV_DIR), a small sysfs tree (VEXLINK_SYSFS_DIR), an etc folder (VEXLINK_ETC_DIR) and
// a home with its configuration folder (HOME, XDG_CONFIG_HOME), all in one temporary folder.
// The default COM paths then lie in the test's dev folder, so nothing reaches the machine's own
// /dev/ttyS*, /etc or home. The variables are given back their values on destruction.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace testsupport {

class FakeSystem {
public:
    FakeSystem();
    ~FakeSystem();
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    const std::string& root() const { return root_; }
    std::string dev() const { return root_ + "/dev"; }
    std::string sys() const { return root_ + "/sys"; }
    std::string userMap() const { return root_ + "/home/.config/vexlink/ports.conf"; }
    std::string systemMap() const { return root_ + "/etc/vexlink/ports.conf"; }

    // The variables this machine sets, for a child process's environment.
    std::map<std::string, std::string> environment() const;

    // dev/NAME, a link to target (a pseudo-terminal's path); returns dev/NAME.
    std::string addNode(const std::string& name, const std::string& target);
    // dev/serial/by-id/LINK -> ../../NODE, as udev makes it; returns the link's path.
    std::string addById(const std::string& link, const std::string& node);
    // sysfs for a USB adapter behind dev/NODE: class/tty/NODE/device and its driver, the USB
    // device above it with ids and descriptor strings.
    void describeUsb(const std::string& node, const std::string& driver,
                     const std::string& vendorId, const std::string& productId,
                     const std::string& manufacturer, const std::string& product,
                     const std::string& serial);
    // sysfs for dev/NODE as a serial8250 port of the given type (0: no UART behind it).
    void describeUart(const std::string& node, int type);
    // class/tty/console/active: the console's kernel names, separated by blanks.
    void setConsoles(const std::string& names);

    static void writeFile(const std::string& path, const std::string& text);
    static std::string readFile(const std::string& path);

private:
    void setVariable(const std::string& name, const std::string& value);

    std::string root_;
    std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace testsupport
