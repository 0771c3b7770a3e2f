// The serial devices present, as a test's dev folder and sysfs tree show them: USB adapters
// under their by-id names, the ttyS ports with a UART, the console, and the COM names mapped
// to each.
#include <FakeSystem.h>
#include <ScriptedDevice.h>
#include <vexlink/Ports.h>

#include <gtest/gtest.h>

namespace {

using testsupport::FakeSystem;
using testsupport::ScriptedDevice;

const char kById[] = "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0";

class SerialDevices : public ::testing::Test {
protected:
    SerialDevices() {
        for (int n = 1; n <= 4; ++n) env.unset(n);
        system.addNode("ttyUSB0", adapter.path());
        byId = system.addById(kById, "ttyUSB0");
        system.describeUsb("ttyUSB0", "ftdi_sio", "0403", "6001", "FTDI", "FT232R USB UART",
                           "A1B2C3");
        system.addNode("ttyACM0", modem.path());
        system.describeUsb("ttyACM0", "cdc_acm", "2341", "0043", "Arduino", "Uno", "");
        system.addNode("ttyS0", uart.path());
        system.describeUart("ttyS0", 4);
        system.addNode("ttyS1", noUart.path());
        system.describeUart("ttyS1", 0);        // a node with no UART behind it
        system.addNode("ttyS10", bare.path());  // no sysfs entry at all
        system.setConsoles("tty0 ttyS0");
    }
    testsupport::PortEnvironment env;
    FakeSystem system;
    ScriptedDevice adapter, modem, uart, noUart, bare;
    std::string byId;
};

TEST_F(SerialDevices, ListsAdaptersByTheirStableNamesAndRealUartsOnly) {
    FakeSystem::writeFile(system.userMap(), std::string("COM3 = ") + byId + "\n");
    setenv("VEXLINK_COM2", (system.dev() + "/ttyUSB0").c_str(), 1);

    const auto devices = vexlink::listSerialDevices();
    ASSERT_EQ(devices.size(), 3u);

    const vexlink::SerialDevice& acm = devices[0];
    EXPECT_EQ(acm.kernelName, "ttyACM0");
    EXPECT_EQ(acm.path, system.dev() + "/ttyACM0");
    EXPECT_EQ(acm.driver, "cdc_acm");
    EXPECT_EQ(acm.vendorId + ":" + acm.productId, "2341:0043");
    EXPECT_EQ(acm.serialNumber, "");
    EXPECT_FALSE(acm.isConsole);
    EXPECT_TRUE(acm.comNames.empty());

    const vexlink::SerialDevice& uartPort = devices[1];
    EXPECT_EQ(uartPort.kernelName, "ttyS0");
    EXPECT_EQ(uartPort.driver, "serial8250");
    EXPECT_TRUE(uartPort.vendorId.empty());
    EXPECT_TRUE(uartPort.isConsole);
    EXPECT_EQ(uartPort.comNames, std::vector<std::string>{"COM1"});  // by default

    const vexlink::SerialDevice& usb = devices[2];
    EXPECT_EQ(usb.path, byId);
    EXPECT_EQ(usb.devicePath, system.dev() + "/ttyUSB0");
    EXPECT_EQ(usb.kernelName, "ttyUSB0");
    EXPECT_EQ(usb.driver, "ftdi_sio");
    EXPECT_EQ(usb.vendorId, "0403");
    EXPECT_EQ(usb.productId, "6001");
    EXPECT_EQ(usb.manufacturer, "FTDI");
    EXPECT_EQ(usb.product, "FT232R USB UART");
    EXPECT_EQ(usb.serialNumber, "A1B2C3");
    EXPECT_FALSE(usb.isConsole);
    EXPECT_EQ(usb.comNames, (std::vector<std::string>{"COM2", "COM3"}));
}

TEST_F(SerialDevices, TellsStablePathsConsolesAndTerminals) {
    EXPECT_EQ(vexlink::stableDevicePath(system.dev() + "/ttyUSB0"), byId);
    EXPECT_EQ(vexlink::stableDevicePath(byId), byId);
    EXPECT_EQ(vexlink::stableDevicePath(system.dev() + "/ttyACM0"), "");

    EXPECT_TRUE(vexlink::isSystemConsole(system.dev() + "/ttyS0"));
    EXPECT_TRUE(vexlink::isSystemConsole(uart.path()));  // the same device under another name
    EXPECT_FALSE(vexlink::isSystemConsole(byId));
    EXPECT_FALSE(vexlink::isSystemConsole(system.dev() + "/nothing"));

    EXPECT_TRUE(vexlink::isSerialDevice(byId));
    EXPECT_FALSE(vexlink::isSerialDevice("/dev/null"));
    EXPECT_FALSE(vexlink::isSerialDevice(system.dev()));
    EXPECT_FALSE(vexlink::isSerialDevice(system.dev() + "/nothing"));
}

TEST_F(SerialDevices, AnEmptyMachineHasNone) {
    FakeSystem empty;
    EXPECT_TRUE(vexlink::listSerialDevices().empty());
}

}  // namespace
