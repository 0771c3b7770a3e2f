// The link library's warnings, shown as a modal warning box owned by the active window.
#pragma once

namespace gyrodesk {

// A Vexlink::MessageHandler: shows text with a warning icon, one OK button and the default
// caption, and returns when the box has been dismissed.
void ShowLinkWarning(const char* text, void* context);

// Installs ShowLinkWarning as the library's message handler.
void InstallLinkWarning();

}  // namespace gyrodesk
