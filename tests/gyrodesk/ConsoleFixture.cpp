#include "ConsoleFixture.h"

#include <cstdio>

#include "resource.h"

namespace gyrotest {

void ObservedDlg::OnTimer(UINT nIDEvent) {
    ++ticks;
    CGyrodeskDlg::OnTimer(nIDEvent);
}

BEGIN_MESSAGE_MAP(ObservedDlg, CGyrodeskDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void ConsoleTest::Start(std::optional<korvisor::Options> trackerOptions,
                        std::vector<std::pair<int, std::string>> otherDevices) {
    if (trackerOptions) {
        tracker.emplace(*trackerOptions);
        tracker->start();
        otherDevices.emplace_back(3, tracker->devicePath());
    }
    SetPorts(otherDevices);
    dlg = std::make_unique<ObservedDlg>();
    ASSERT_TRUE(dlg->Create(IDD_GYRODESK_DIALOG));
    if (tracker) Received();  // the start-up's traffic
}

void ConsoleTest::TearDown() {
    if (!dlg) return;
    dlg->KillTimer(1);
    if (dlg->link.GetPortId() != 0) dlg->link.CloseCom(dlg->link.GetComHandle());
    dlg->DestroyWindow();
    dlg.reset();
}

std::vector<std::uint8_t> ConsoleTest::Received() {
    if (!tracker) return {};
    std::size_t count = tracker->receivedBytes().size();
    while (tracker->waitForReceived(count + 1, 120ms)) count = tracker->receivedBytes().size();
    std::vector<std::uint8_t> bytes = tracker->receivedBytes();
    tracker->clearReceived();
    return bytes;
}

void ConsoleTest::ExpectReceived(const std::vector<std::uint8_t>& expected, const char* what) {
    const std::vector<std::uint8_t> bytes = Received();
    EXPECT_EQ(bytes, expected) << what << ": received " << Describe(bytes) << ", expected "
                               << Describe(expected);
}

void TakeSample(CWnd& dialog, const std::function<void()>& take) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        take();
        if (Text(dialog, IDC_STATUS) != "No reply from Korvisor !!!") return;
    }
}

std::string Describe(const std::vector<std::uint8_t>& bytes) {
    std::string text = "[";
    for (std::uint8_t b : bytes) {
        char item[8];
        if (b >= 'A' && b <= 'Z') std::snprintf(item, sizeof item, " '%c'", b);
        else std::snprintf(item, sizeof item, " 0x%02X", b);
        text += item;
    }
    return text + " ]";
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        char item[4];
        std::snprintf(item, sizeof item, "%X", b);
        text += item;
    }
    return text;
}

}  // namespace gyrotest
