#include <afx/CString.h>
#include <afx/Resources.h>

BOOL CString::LoadString(UINT id) {
    const char* text = afx::FindStringResource(id);
    m_text = text ? text : "";
    return text != nullptr;
}
