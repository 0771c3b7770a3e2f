#include "LinkWarning.h"

#include <afx/Afx.h>
#include <vexlink/Vexlink.h>

namespace gyrodesk {

void ShowLinkWarning(const char* text, void* /*context*/) {
    MessageBox(GetActiveWindow(), text, nullptr, MB_OK | MB_ICONEXCLAMATION);
}

void InstallLinkWarning() { Vexlink::SetMessageHandler(&ShowLinkWarning); }

}  // namespace gyrodesk
