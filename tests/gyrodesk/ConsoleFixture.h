// A main dialog created modelessly against a simulated tracker on COM3, with a count of the
// timer ticks it handles, and helpers to check what the tracker received.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DialogHarness.h"
#include "GyrodeskDlg.h"
#include "resource.h"

namespace gyrotest {

// The main dialog with a count of its WM_TIMER messages and its display step reachable.
class ObservedDlg : public CGyrodeskDlg {
public:
    int ticks = 0;
    using CGyrodeskDlg::ShowSample;

protected:
    void OnTimer(UINT nIDEvent);
    DECLARE_MESSAGE_MAP()
};

class ConsoleTest : public ::testing::Test {
protected:
    // Starts the tracker on COM3 (none when trackerOptions is empty) and creates the dialog.
    void Start(std::optional<korvisor::Options> trackerOptions = TrackerOptions(),
               std::vector<std::pair<int, std::string>> otherDevices = {});
    void TearDown() override;

    // What the tracker has received since the last call (or since start-up), once the line
    // has been quiet for a moment.
    std::vector<std::uint8_t> Received();
    void ExpectReceived(const std::vector<std::uint8_t>& expected, const char* what);

    QString Status() { return Text(*dlg, IDC_STATUS); }

    std::optional<korvisor::Simulator> tracker;
    std::unique_ptr<ObservedDlg> dlg;
};

// Takes a sample with take (Poll, or a timer message) and takes it again, a few times at most,
// while the status says the frame did not come whole: on a loaded machine the simulated
// tracker can miss the reader's time-outs, and these tests are about what the dialog shows.
void TakeSample(CWnd& dialog, const std::function<void()>& take);

// Bytes as text for messages: printable letters as themselves, others as 0xNN.
std::string Describe(const std::vector<std::uint8_t>& bytes);

// A binary frame's bytes as the Port Output field shows them.
std::string Hex(const std::vector<std::uint8_t>& bytes);

}  // namespace gyrotest
