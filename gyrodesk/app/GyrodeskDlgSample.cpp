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

// A frame body that came whole: 6 bytes, 7 with a checksum, in binary; 19 in ASCII.
int FullBodyLength(Vexlink& link) {
    if (link.GetDataMode() == 'F') return link.GetCheckStatus() ? 7 : 6;
    return 19;
}

}  // namespace

void CGyrodeskDlg::OnPoll() { TakeSample(); }

void CGyrodeskDlg::OnTimer(UINT /*nIDEvent*/) {
    TakeSample();  // every tick reads, whatever its id
    Default();
}

void CGyrodeskDlg::TakeSample() {
    const int result = link.ReadFromPort();
    noReply_ = result == 0 && link.GetBytesRead() < FullBodyLength(link);

    // A frame that did not come whole is no sample: the angles stay those of the last good
    // one, and Port Output shows what did arrive.
    if (noReply_) {
        SetDlgItemText(IDC_STATUS, "No reply from Korvisor !!!");
        ShowPortOutput();
        livePlot_.Record(false, 0, 0, 0);
        return;
    }

    if (link.GetCheckStatus()) SetDlgItemText(IDC_STATUS, result ? "Checksum OK" : "Checksum Error !!!");
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

    if (link.GetDataMode() == 'F') {
        std::size_t length = 0;
        for (int i = 0; i < count; ++i) {
            std::snprintf(hexBuffer, sizeof hexBuffer, "%X", static_cast<unsigned>(frame[i]));
            const std::size_t digits = std::strlen(hexBuffer);
            if (length + digits >= sizeof textBuffer) break;
            std::memcpy(textBuffer + length, hexBuffer, digits);
            length += digits;
        }
    } else {
        // The frame's text, up to its NUL (at position 18 for a whole frame) or the bytes read.
        const int limit = std::min(count, static_cast<int>(sizeof textBuffer) - 1);
        for (int i = 0; i < limit && frame[i] != '\0'; ++i) textBuffer[i] = static_cast<char>(frame[i]);
    }

    SetDlgItemText(IDC_PORT_OUTPUT, textBuffer);
}
