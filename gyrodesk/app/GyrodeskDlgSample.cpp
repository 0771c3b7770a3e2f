// CGyrodeskDlg's sample display: Poll and every timer tick read one sample and show the angles,
// the raw frame and, in checksum mode, the checksum verdict.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "GyrodeskDlg.h"
#include "resource.h"

namespace {

// The display's text buffers: an angle's text in turn, then the raw frame's.
char textBuffer[30];
char hexBuffer[3];

// The length of a frame body that came whole in the link's present modes.
int FullBodyLength(Vexlink& link) {
    const bool binary = link.GetDataMode() == vexlink::kBinaryFrames[0];
    return vexlink::wholeBodyLength(!binary, link.GetCheckStatus() != 0);
}

}  // namespace

void CGyrodeskDlg::OnPoll() { TakeSample(); }

void CGyrodeskDlg::OnTimer(UINT /*nIDEvent*/) {
    TakeSample();  // every tick reads, whatever its id
    Default();
}

void CGyrodeskDlg::TakeSample() {
    static constexpr const char* kNoReply = "No reply from Korvisor !!!";
    const int result = link.ReadFromPort();

    // A frame that did not come whole is no sample: the angles stay those of the last good
    // one, and Port Output shows what did arrive.
    if (result == 0 && link.GetBytesRead() < FullBodyLength(link)) {
        if (!noReplyShown_) GetDlgItemText(IDC_STATUS, statusBeforeNoReply_);
        noReplyShown_ = true;
        SetDlgItemText(IDC_STATUS, kNoReply);
        ShowPortOutput();
        livePlot_.Record(false, 0, 0, 0);
        return;
    }

    // The tracker answers again: the report of a dead link goes, and the status that stood
    // before it comes back, unless a command has written its own since.
    if (noReplyShown_) {
        noReplyShown_ = false;
        CString shown;
        GetDlgItemText(IDC_STATUS, shown);
        if (shown == kNoReply) SetDlgItemText(IDC_STATUS, statusBeforeNoReply_);
    }

    if (link.GetCheckStatus())
        SetDlgItemText(IDC_STATUS, result ? "Checksum OK" : "Checksum Error !!!");
    ShowSample();

    // The plot takes the read after the dialog has shown it: a rejected frame is a gap there.
    int pitch;
    int yaw;
    int roll;
    link.Get_PYR(&pitch, &yaw, &roll);
    livePlot_.Record(result != 0, pitch, yaw, roll);
}

void CGyrodeskDlg::ShowSample() {
    int pitch;
    int yaw;
    int roll;
    link.Get_PYR(&pitch, &yaw, &roll);

    std::snprintf(textBuffer, sizeof textBuffer, "%d", yaw);
    SetDlgItemText(IDC_YAW, textBuffer);
    std::snprintf(textBuffer, sizeof textBuffer, "%d", pitch);
    SetDlgItemText(IDC_PITCH, textBuffer);
    std::snprintf(textBuffer, sizeof textBuffer, "%d", roll);
    SetDlgItemText(IDC_ROLL, textBuffer);

    ShowPortOutput();
}

// The frame as received: binary bytes as upper-case hex without separators or leading zeros,
// ASCII frames as their text. Never more than the buffer holds.
void CGyrodeskDlg::ShowPortOutput() {
    std::memset(textBuffer, 0, sizeof textBuffer);
    const unsigned char* frame = link.GetDataBuffer();
    const int count = std::min(link.GetBytesRead(), static_cast<int>(sizeof link.dataBuffer));

    if (link.GetDataMode() == vexlink::kBinaryFrames[0]) {
        std::size_t length = 0;
        for (int i = 0; i < count; ++i) {
            std::snprintf(hexBuffer, sizeof hexBuffer, "%X", static_cast<unsigned>(frame[i]));
            const std::size_t digits = std::strlen(hexBuffer);
            if (length + digits >= sizeof textBuffer) break;
            std::memcpy(textBuffer + length, hexBuffer, digits);
            length += digits;
        }
    } else {
        // The frame's text, up to its NUL (at position 18 after every read) or the bytes that
        // arrived: the 'Y' and the count read behind it.
        const int arrived = frame[0] != '\0' ? count + 1 : 0;
        const int limit = std::min(arrived, static_cast<int>(sizeof textBuffer) - 1);
        for (int i = 0; i < limit && frame[i] != '\0'; ++i)
            textBuffer[i] = static_cast<char>(frame[i]);
    }

    SetDlgItemText(IDC_PORT_OUTPUT, textBuffer);
}
