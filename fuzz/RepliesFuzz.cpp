// Feeds arbitrary tracker output to the identification and the version request and checks
// their results: only the exact reply "KHX" identifies a tracker, and the version text is the
// reply's first five bytes up to any NUL, always terminated.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <vexlink/Vexlink.h>

#include "FakeLine.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fakeline::serve(data, size);
    Vexlink link;
    link.comHandle = fakeline::kPort;
    std::strcpy(link.versionText, "old");

    const bool isTracker = size >= 3 && data[0] == 'K' && data[1] == 'H' && data[2] == 'X';
    require(link.checkForKorvisor() == (isTracker ? 1 : 0));

    // The version reply follows whatever the identification left unread.
    const std::size_t at = size < 3 ? size : 3;
    const std::size_t left = size - at;
    char* text = link.Get_Version();
    if (left == 0) {
        require(text == nullptr);
        require(std::strcmp(link.versionText, "old") == 0);
        return 0;
    }
    require(text == link.versionText);
    const std::size_t replyLength = left < 5 ? left : 5;
    require(link.bytesRead == replyLength);
    const std::size_t textLength = strnlen(link.versionText, sizeof link.versionText);
    require(textLength <= replyLength);
    require(std::memcmp(link.versionText, data + at, textLength) == 0);
    require(textLength == replyLength || data[at + textLength] == 0);
    require(fakeline::remaining() == left - replyLength);
    return 0;
}
