// The warning box: the application's message handler, or one line on standard error.
#include "platform/CommApi.h"

#include <string>
#include <unistd.h>

namespace vexlink::platform {

namespace {

void (*messageHandler)(const char*, void*) = nullptr;
void* messageContext = nullptr;

}  // namespace

void SetMessageHandler(void (*handler)(const char*, void*), void* context) {
    messageHandler = handler;
    messageContext = handler ? context : nullptr;
}

int MessageBoxA(const char* text, const char* /*caption*/, unsigned /*flags*/) {
    if (text == nullptr) text = "";
    if (messageHandler) {
        messageHandler(text, messageContext);
        return 1;
    }
    // One line, written in one call so that it does not interleave with other output.
    std::string line = "vexlink: ";
    for (const char* c = text; *c; ++c) line += (*c == '\n' || *c == '\r') ? ' ' : *c;
    line += '\n';
    for (std::size_t done = 0; done < line.size();) {
        const ssize_t r = write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (r <= 0) break;
        done += static_cast<std::size_t>(r);
    }
    return 1;
}

}  // namespace vexlink::platform
