// The program's resources: the three dialog templates, the bitmaps, the icon and the strings,
// gathered in one table for the dialog platform.
#pragma once

#include <afx/DialogTemplate.h>
#include <afx/Constants.h>

namespace gyrodesk {

extern const afx::DialogTemplate kMainDialogTemplate;  // IDD_GYRODESK_DIALOG
extern const afx::DialogTemplate kAboutBoxTemplate;    // IDD_ABOUTBOX
extern const afx::DialogTemplate kHelpBoxTemplate;     // IDD_HELP
extern const std::span<const afx::StringResource> kStrings;

// Everything the program's module holds. The table is built on first use.
const afx::ResourceTable& Resources();

}  // namespace gyrodesk
