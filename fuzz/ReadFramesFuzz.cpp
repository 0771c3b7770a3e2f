// Feeds arbitrary tracker output to ReadFromPort in every frame format, sampling mode and
// checksum setting, and checks what each read leaves behind against an independent decoding.
//
// Input: one setup byte, then the bytes the tracker sends.
//   bits 0-2  mode: binary upon request, binary continuous, ASCII upon request, ASCII
//             continuous, ASCII with transMode NUL, binary with an unknown transMode
//   bit 3     checksum mode on
//   bits 4-5  reads in a row minus one (each takes its frame from where the last one stopped)
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <vexlink/Vexlink.h>

#include "FakeLine.h"

namespace {

struct Mode {
    char dataMode;
    char transMode;
};

constexpr Mode kModes[] = {{'F', 'G'}, {'F', 'H'}, {'E', 'G'}, {'E', 'H'}, {'E', '\0'}, {'F', 'Z'}};
constexpr int kSentinel = 1234567;  // no frame can decode to it

void require(bool condition) {
    if (!condition) std::abort();
}

int wordAt(const unsigned char* p) { return p[0] * 256 + p[1]; }

// Whole degrees by floating point, as a cross-check of the library's integer shifts.
int yawOf(int word) { return static_cast<int>(std::floor(word * 360.0 / 32768.0)); }
int tiltOf(int word) { return static_cast<int>(std::floor(word * 180.0 / 32768.0)) - 90; }

// The ASCII field at `at` as atoi reads the frame text, which ends at its first NUL.
int asciiField(const unsigned char* frame, int at) {
    char text[21] = {};
    for (int i = 0; i < 20 && frame[i] != 0; ++i) text[i] = static_cast<char>(frame[i]);
    text[6] = text[12] = text[18] = '\0';
    return std::atoi(text + at);
}

void checkBinary(const Vexlink& link, int result, bool continuous, const int before[4]) {
    const int bodyLength = link.checkStatus ? 7 : 6;
    const unsigned char* body = link.dataBuffer + (continuous ? 2 : 0);
    if (result == 1) {
        require(link.bytesRead == static_cast<DWORD>(bodyLength + (continuous ? 2 : 0)));
        if (continuous) require(link.dataBuffer[0] == 0xFF);
        require(link.yaw == yawOf(wordAt(body)));
        require(link.pitch == tiltOf(wordAt(body + 2)));
        require(link.roll == tiltOf(wordAt(body + 4)));
        if (link.checkStatus) {
            require(link.checkByte == body[6]);
            require(link.checkByte == ((body[1] + body[3] + body[5]) & 0xFF));
        }
        return;
    }
    require(link.pitch == before[0] && link.yaw == before[1] && link.roll == before[2]);
    require(link.bytesRead <= static_cast<DWORD>(bodyLength));
    if (link.checkStatus && link.bytesRead == 7) {
        require(link.checkByte == body[6]);
        require(link.checkByte != ((body[1] + body[3] + body[5]) & 0xFF));
    } else {
        require(link.checkByte == before[3]);
    }
}

// A field as the tracker writes it: blanks, an optional sign, digits to the field's end.
bool fieldHolds(const unsigned char* at) {
    std::string text(reinterpret_cast<const char*>(at), 5);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    text.erase(0, first);
    if (text[0] == '+' || text[0] == '-') text.erase(0, 1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A separator is any byte but a digit, a sign, a NUL or a line end (strchr finds the NUL too).
bool separatorHolds(unsigned char c) { return std::strchr("0123456789+-\r\n", c) == nullptr; }

// The whole 20-byte frame as it came off the line, before the reader touched it.
bool layoutHolds(const unsigned char* raw) {
    return raw[0] == 'Y' && fieldHolds(raw + 1) && separatorHolds(raw[6]) && fieldHolds(raw + 7) &&
           separatorHolds(raw[12]) && fieldHolds(raw + 13) && raw[18] == '\r' && raw[19] == '\n';
}

// raw: the 20 bytes of the line the read took its frame from, when it read a whole one.
void checkAscii(const Vexlink& link, int result, const int before[4], const unsigned char* raw) {
    require(link.checkByte == before[3]);
    require(link.dataBuffer[18] == 0);  // after every read, whole or short
    if (result == 1) {
        require(link.bytesRead == 19 && raw != nullptr && layoutHolds(raw));
        require(link.dataBuffer[0] == 'Y');
        require(link.yaw == asciiField(link.dataBuffer, 1));
        require(link.pitch == asciiField(link.dataBuffer, 7));
        require(link.roll == asciiField(link.dataBuffer, 13));
        return;
    }
    require(link.pitch == before[0] && link.yaw == before[1] && link.roll == before[2]);
    require(link.bytesRead <= 19);
    // A whole frame fails only when its layout does not hold.
    if (link.bytesRead == 19) require(raw != nullptr && !layoutHolds(raw));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Mode mode = kModes[(data[0] & 0x07) % (sizeof kModes / sizeof kModes[0])];
    const bool checksum = (data[0] & 0x08) != 0;
    const int reads = 1 + ((data[0] >> 4) & 0x03);
    fakeline::serve(data + 1, size - 1);

    Vexlink link;
    link.comHandle = fakeline::kPort;
    link.SetDataMode(mode.dataMode);
    link.SetTransMode(mode.transMode);
    link.checkStatus = checksum ? 1 : 0;
    link.pitch = link.yaw = link.roll = link.checkByte = kSentinel;

    for (int i = 0; i < reads; ++i) {
        const int before[4] = {link.pitch, link.yaw, link.roll, link.checkByte};
        const int result = link.ReadFromPort();
        require(result == 0 || result == 1);
        for (int k = 20; k < 30; ++k) require(link.dataBuffer[k] == 0);
        if (mode.dataMode == 'F') {
            checkBinary(link, result, mode.transMode != 'G', before);
        } else {
            // The fake line hands out its bytes in order, so a whole frame is the 20 bytes
            // before what is left.
            const std::size_t taken = (size - 1) - fakeline::remaining();
            const bool whole = link.bytesRead == 19 && taken >= 20;
            checkAscii(link, result, before, whole ? data + 1 + taken - 20 : nullptr);
        }
        int pitch = 0, yaw = 0, roll = 0;
        link.Get_PYR(&pitch, &yaw, &roll);
        require(pitch == link.pitch && yaw == link.yaw && roll == link.roll);
    }
    return 0;
}
