// The dialog platform's own test dialogs: small templates of our own and a dialog class that
// records what reaches its handlers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <afx/Afx.h>

namespace afxtest {

// Ids of the probe template.
enum : UINT {
    IDD_PROBE = 500,        // with a minimise box
    IDD_PROBE_NOMIN = 501,  // the same controls, no minimise box
    IDD_SIZED = 502,        // 286 x 218 units, one button
    IDD_MISSING = 599,      // not in the table
    IDC_APPLY = 10,         // push, mapped
    IDC_OTHER = 11,         // push, its handler left out of the map
    IDC_ALPHA = 20,         // radio group 1 (mapped), tab stop
    IDC_BETA = 21,          // radio group 1 (mapped), tab stop
    IDC_GAMMA = 22,         // radio group 1, not mapped, no tab stop
    IDC_ONE = 30,           // radio group 2 (mapped), no tab stops
    IDC_TWO = 31,           // radio group 2
    IDC_LABEL = 40,         // static, ends group 2
    IDC_RATE = 41,          // read-only edit, the up-down's buddy
    IDC_SPIN = 42,          // up-down
    IDC_OUTPUT = 43,        // sunken static
    IDC_PICTURE = 44,       // SS_BITMAP "#900"
    IDC_NAME = 45,          // editable edit, tab stop
    IDB_PICTURE = 900,      // 20 x 10 bitmap, solid blue
    IDB_PICTURE2 = 901,     // 30 x 20 bitmap, solid green
    IDI_PROBE = 910,        // icon, solid red
    IDS_PROBE = 920,        // "&Probe item..."
};

// Registers the probe table (writing its images to a temporary folder once).
void RegisterProbeResources();

class RecordingDialog : public CDialog {
public:
    explicit RecordingDialog(UINT templateId = IDD_PROBE) : CDialog(templateId) {}

    std::vector<std::string> events;
    bool visibleAtInit = true;
    std::function<void(RecordingDialog&)> onInit;
    std::function<void(RecordingDialog&, UINT)> onTimer;
    std::function<void(RecordingDialog&, CPaintDC&)> onPaint;
    std::function<bool(RecordingDialog&, UINT)> onSysCommand;  // true: handled, no default
    int paints = 0;

    bool Has(const std::string& event) const;
    int Count(const std::string& event) const;

    using CWnd::SendMessage;

protected:
    BOOL OnInitDialog() override;
    void OnApply();
    void OnOther();
    void OnAlpha();
    void OnBeta();
    void OnGamma();
    void OnOne();
    void OnRateChange();
    void OnNameChange();
    void OnTimer(UINT id);
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    void OnOK() override;

    void Log(const std::string& what) { events.push_back(what); }
    std::string RadioState() const;

    DECLARE_MESSAGE_MAP()
};

// A fixture that registers the probe resources.
class AfxTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterProbeResources(); }
};

}  // namespace afxtest
