// The message box.
#include "platform/win32/System.h"

#include <windows.h>

namespace vexlink::platform::win32 {

int messageBox(const char* text, const char* caption, unsigned flags) {
    // With no caption of its own the system's default one ("Error") is shown.
    return ::MessageBoxA(::GetActiveWindow(), text, caption, flags);
}

}  // namespace vexlink::platform::win32
