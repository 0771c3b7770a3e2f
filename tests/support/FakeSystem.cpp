#include "FakeSystem.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

FakeSystem::FakeSystem() {
    std::string pattern = (fs::temp_directory_path() / "vexlink-system-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    for (const char* folder : {"/dev", "/sys/class/tty", "/etc", "/home/.config"})
        fs::create_directories(root_ + folder);
    setVariable("VEXLINK_DEV_DIR", dev());
    setVariable("VEXLINK_SYSFS_DIR", sys());
    setVariable("VEXLINK_ETC_DIR", root_ + "/etc");
    setVariable("HOME", root_ + "/home");
    setVariable("XDG_CONFIG_HOME", root_ + "/home/.config");
}

FakeSystem::~FakeSystem() {
    for (const auto& [name, value] : saved_) {
        if (value) setenv(name.c_str(), value->c_str(), 1);
        else unsetenv(name.c_str());
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void FakeSystem::setVariable(const std::string& name, const std::string& value) {
    if (!saved_.count(name)) {
        const char* old = std::getenv(name.c_str());
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    setenv(name.c_str(), value.c_str(), 1);
}

std::map<std::string, std::string> FakeSystem::environment() const {
    return {{"VEXLINK_DEV_DIR", dev()},
            {"VEXLINK_SYSFS_DIR", sys()},
            {"VEXLINK_ETC_DIR", root_ + "/etc"},
            {"HOME", root_ + "/home"},
            {"XDG_CONFIG_HOME", root_ + "/home/.config"}};
}

std::string FakeSystem::addNode(const std::string& name, const std::string& target) {
    const std::string path = dev() + "/" + name;
    fs::create_symlink(target, path);
    return path;
}

std::string FakeSystem::addById(const std::string& link, const std::string& node) {
    fs::create_directories(dev() + "/serial/by-id");
    const std::string path = dev() + "/serial/by-id/" + link;
    fs::create_symlink("../../" + node, path);
    return path;
}

void FakeSystem::describeUsb(const std::string& node, const std::string& driver,
                             const std::string& vendorId, const std::string& productId,
                             const std::string& manufacturer, const std::string& product,
                             const std::string& serial) {
    const std::string usb = sys() + "/devices/pci0000:00/usb1/1-" + node;
    const std::string port = usb + "/1-1:1.0/" + node;
    fs::create_directories(port);
    fs::create_directories(sys() + "/bus/usb-serial/drivers/" + driver);
    fs::create_symlink(sys() + "/bus/usb-serial/drivers/" + driver, port + "/driver");
    writeFile(usb + "/idVendor", vendorId + "\n");
    writeFile(usb + "/idProduct", productId + "\n");
    writeFile(usb + "/manufacturer", manufacturer + "\n");
    writeFile(usb + "/product", product + "\n");
    writeFile(usb + "/serial", serial + "\n");
    fs::create_directories(sys() + "/class/tty/" + node);
    fs::create_symlink(port, sys() + "/class/tty/" + node + "/device");
}

void FakeSystem::describeUart(const std::string& node, int type) {
    const std::string device = sys() + "/devices/platform/serial8250/" + node;
    fs::create_directories(device);
    fs::create_directories(sys() + "/bus/platform/drivers/serial8250");
    fs::create_symlink(sys() + "/bus/platform/drivers/serial8250", device + "/driver");
    const std::string tty = sys() + "/class/tty/" + node;
    fs::create_directories(tty);
    fs::create_symlink(device, tty + "/device");
    writeFile(tty + "/type", std::to_string(type) + "\n");
}

void FakeSystem::setConsoles(const std::string& names) {
    fs::create_directories(sys() + "/class/tty/console");
    writeFile(sys() + "/class/tty/console/active", names + "\n");
}

void FakeSystem::writeFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::trunc);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string FakeSystem::readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace testsupport
