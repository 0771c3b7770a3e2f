// The first run as the README walks a user through it: the tracker's adapter is plugged in,
// `vexlink detect --all --save` finds it behind its by-id name and maps it, and Gyrodesk,
// started as from the desktop menu with no VEXLINK_COMn at all, finds it on the saved name.
// A serial console on the test machine (COM1 by default) receives nothing from either.
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <FakeSystem.h>
#include <ScriptedDevice.h>

#include "DialogHarness.h"

namespace gyrotest {
namespace {

// The environment of a program started from the desktop menu on the test machine: its
// folders, and not one port variable.
QProcessEnvironment MenuEnvironment(const testsupport::FakeSystem& system) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (int com = 1; com <= 4; ++com) env.remove(QString("VEXLINK_COM%1").arg(com));
    for (const auto& [name, value] : system.environment())
        env.insert(QString::fromStdString(name), QString::fromStdString(value));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (!env.contains("LSAN_OPTIONS"))
        env.insert("LSAN_OPTIONS", "suppressions=" GYRODESK_LSAN_SUPPRESSIONS);
    return env;
}

struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
};

ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForStarted(10000) || !process.waitForFinished(30000)) return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(FirstRun, DetectAllSaveThenGyrodeskFindsTheTrackerWithNoPortVariable) {
    testsupport::FakeSystem system;
    korvisor::Simulator tracker(TrackerOptions());
    tracker.start();
    system.addNode("ttyUSB0", tracker.devicePath());
    const std::string byId =
        system.addById("usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", "ttyUSB0");
    system.describeUsb("ttyUSB0", "ftdi_sio", "0403", "6001", "FTDI", "FT232R USB UART", "A1B2C3");
    testsupport::ScriptedDevice console(0);
    system.addNode("ttyS0", console.path());
    system.describeUart("ttyS0", 4);
    system.setConsoles("ttyS0");
    const QProcessEnvironment env = MenuEnvironment(system);

    const ProgramRun detect = RunProgram(VEXLINK_CLI_PATH, {"detect", "--all", "--save"}, env);
    ASSERT_EQ(detect.status, 0) << detect.err.toStdString();
    const std::string saved = "Saved COM2 = " + byId + " in " + system.userMap() + ".";
    EXPECT_TRUE(detect.out.contains(QString::fromStdString(saved))) << detect.out.toStdString();

    tracker.clearReceived();
    const ProgramRun gyrodesk = RunProgram(GYRODESK_EXIT_PROBE, {"exit"}, env);
    ASSERT_NE(gyrodesk.status, 97)
        << "Gyrodesk did not find the tracker: " << gyrodesk.err.toStdString();
    EXPECT_EQ(gyrodesk.status, 1) << gyrodesk.err.toStdString();
    std::size_t count = tracker.receivedBytes().size();
    while (tracker.waitForReceived(count + 1, 300ms)) count = tracker.receivedBytes().size();
    const std::vector<std::uint8_t> bytes = tracker.receivedBytes();
    ASSERT_FALSE(bytes.empty()) << "the tracker was never probed";
    EXPECT_EQ(bytes.back(), 'R') << "Exit closes the port with its reset byte";
    EXPECT_EQ(console.receivedText(), "") << "the system console was written to";
}

}  // namespace
}  // namespace gyrotest
