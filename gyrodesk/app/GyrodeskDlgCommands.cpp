// CGyrodeskDlg's commands: one handler per button and radio button, and the rate field's
// change handler. Each turns one click into a short fixed sequence on the link and one line in
// the status field.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "GyrodeskDlg.h"
#include "resource.h"

namespace {

// The mode letters (vexlink::kAsciiFrames and the others): each is sent as a command and kept in
// the link's matching mode field.
using vexlink::kAsciiFrames;
using vexlink::kBinaryFrames;
using vexlink::kContinuous;
using vexlink::kUponRequest;

constexpr const char* kBlank = " ";
constexpr UINT kSamplePeriodMs = 13;
constexpr auto kStreamStopPause = std::chrono::milliseconds(20);

}  // namespace

// ---- One-call commands ----------------------------------------------------------------------

void CGyrodeskDlg::On19200() {
    link.Set19200();
    SetDlgItemText(IDC_STATUS, "Serial port set to 19200 bps");
}

void CGyrodeskDlg::On9600() {
    link.Set9600();
    SetDlgItemText(IDC_STATUS, "Serial port set to 9600 bps");
}

// The tracker has no averaging filter command, so these only report the choice.
void CGyrodeskDlg::OnAveragingOff() {
    SetDlgItemText(IDC_STATUS, "Averaging Filter Mode Disabled");
}

void CGyrodeskDlg::OnAveragingOn() { SetDlgItemText(IDC_STATUS, "Averaging Filter Mode Enabled"); }

void CGyrodeskDlg::OnChecksumOff() {
    link.CheckSumOff();
    SetDlgItemText(IDC_STATUS, "Checksum Mode Disabled");
}

void CGyrodeskDlg::OnChecksumOn() {
    link.CheckSumOn();
    SetDlgItemText(IDC_STATUS, "Checksum Mode Enabled");
}

// ---- Port choice ----------------------------------------------------------------------------

void CGyrodeskDlg::OnCom1() { SelectPort(1, "COM1", "Can't lock to COM1 !!!"); }
void CGyrodeskDlg::OnCom2() { SelectPort(2, "COM2", "Can't lock to COM2 !!!"); }
void CGyrodeskDlg::OnCom3() { SelectPort(3, "COM3", "Can't lock to COM3 !!!"); }
void CGyrodeskDlg::OnCom4() { SelectPort(4, "COM4", "Can't lock to COM4 !!!"); }

// Moves the link to port number: the new port is opened first, and the old one is closed only
// once the new one has answered; otherwise the link is put back on the old port as it was.
// The port in use is opened anew only when its device has gone (an unplugged adapter that is
// back): a port that is there stays in use, however its last frames fared.
void CGyrodeskDlg::SelectPort(int number, const char* name, const char* failureText) {
    if (link.GetPortId() == number && !link.CheckIfGone()) {
        SetDlgItemText(IDC_STATUS, "This port is currently in use");
        return;
    }
    const int previousPort = link.GetPortId();
    const int previousSpeed = link.GetCurrentSpeed();
    link.SetTempComHandle();

    const int opened = link.OpenCom(name);
    if (opened && link.CheckIfBusy()) {
        if (previousPort != 0) link.CloseCom(link.GetTempComHandle());
        link.SetPortId(number);
        const char* version = link.Get_Version();
        SetDlgItemText(IDC_VERSION, version ? version : "");
        SetDlgItemText(IDC_STATUS, "Korvisor found !!!");
    } else {
        link.SetNewComHandle();
        link.SetSpeedFlag(previousSpeed);
        link.SetPortId(previousPort);
        SetDlgItemText(IDC_STATUS, failureText);
    }
}

// ---- Reset ----------------------------------------------------------------------------------

void CGyrodeskDlg::OnReset() {
    link.HardReset();

    SetDlgItemText(IDC_PORT_OUTPUT, kBlank);
    SetDlgItemText(IDC_PITCH, kBlank);
    SetDlgItemText(IDC_YAW, kBlank);
    SetDlgItemText(IDC_ROLL, kBlank);

    CheckDefaultRadios();

    if (link.GetTransMode() == kContinuous[0]) KillTimer(timerId);
    link.SetTransMode(kUponRequest[0]);  // the reset tracker samples upon request; nothing sent

    link.SetSamplingRate(std::atoi(kDefaultRate));
    SetDlgItemText(IDC_RATE_EDIT, kDefaultRate);  // sends the rate again, through the edit

    SetDlgItemText(IDC_STATUS, "Hard Reset Performed");

    GetDlgItem(IDC_POLL)->EnableWindow(TRUE);
    GetDlgItem(IDC_STOP)->EnableWindow(FALSE);
    GetDlgItem(IDC_START)->EnableWindow(FALSE);
}

// ---- Hysteresis filter ----------------------------------------------------------------------

void CGyrodeskDlg::OnHysteresisOff() {
    link.SetHysteresisOff();
    SetDlgItemText(IDC_STATUS, "Hysteresis Filter Mode Disabled");
}

void CGyrodeskDlg::OnHysteresisOn() {
    link.SetHysteresisOn();
    SetDlgItemText(IDC_STATUS, "Hysteresis Filter Mode Enabled");
}

// ---- Frame format ---------------------------------------------------------------------------

void CGyrodeskDlg::OnAscii() {
    link.SetDataMode(kAsciiFrames[0]);
    link.ResetFIFO();
    link.SendToPort(kAsciiFrames);
    // ASCII frames carry no checksum.
    GetDlgItem(IDC_CHECKSUM_ON)->EnableWindow(FALSE);
    GetDlgItem(IDC_CHECKSUM_OFF)->EnableWindow(FALSE);
    SetDlgItemText(IDC_STATUS, "ASCII Mode Enabled");
}

void CGyrodeskDlg::OnBinary() {
    link.SetDataMode(kBinaryFrames[0]);
    link.ResetFIFO();
    link.SendToPort(kBinaryFrames);
    GetDlgItem(IDC_CHECKSUM_ON)->EnableWindow(TRUE);
    GetDlgItem(IDC_CHECKSUM_OFF)->EnableWindow(TRUE);
    SetDlgItemText(IDC_STATUS, "Binary Mode Enabled");
}

// ---- Sampling mode --------------------------------------------------------------------------

void CGyrodeskDlg::OnContinuous() {
    link.SetSamplingRate(link.GetSamplingRate());
    link.SetTransMode(kContinuous[0]);
    link.ResetFIFO();
    link.SendToPort(kContinuous);
    GetDlgItem(IDC_POLL)->EnableWindow(FALSE);
    GetDlgItem(IDC_STOP)->EnableWindow(TRUE);
    GetDlgItem(IDC_START)->EnableWindow(TRUE);
    SetDlgItemText(IDC_STATUS, "Continuous Mode Enabled");
}

void CGyrodeskDlg::OnUponRequest() {
    if (link.GetTransMode() == kContinuous[0]) KillTimer(timerId);
    link.SendToPort(kUponRequest);
    std::this_thread::sleep_for(kStreamStopPause);  // let the stream stop
    link.ResetFIFO();                               // and drop what came meanwhile
    link.SetTransMode(kUponRequest[0]);
    GetDlgItem(IDC_POLL)->EnableWindow(TRUE);
    GetDlgItem(IDC_STOP)->EnableWindow(FALSE);
    GetDlgItem(IDC_START)->EnableWindow(FALSE);
    SetDlgItemText(IDC_STATUS, "Single request Mode Enabled");
}

void CGyrodeskDlg::OnStart() { SetTimer(timerId, kSamplePeriodMs, nullptr); }

void CGyrodeskDlg::OnStop() { KillTimer(timerId); }

// ---- Exit and the rate ----------------------------------------------------------------------

void CGyrodeskDlg::OnExit() {
    if (link.GetPortId() != 0) link.CloseCom(link.GetComHandle());
    CDialog::OnOK();
}

// Every change of the rate text, from the up-down control or the program, sends the rate.
void CGyrodeskDlg::OnChangeRateEdit() {
    CString rateText;
    GetDlgItemText(IDC_RATE_EDIT, rateText);
    link.SetSamplingRate(std::atoi(rateText));
}
