// Dialog templates and other resources, kept as data: the program's resource tables describe
// every dialog (caption, font, style, size) and every control in template order, which is also
// the tab order. Coordinates are dialog units.
#pragma once

#include <cstdint>
#include <span>

namespace afx {

using DWORD = std::uint32_t;
using UINT = unsigned int;

// Window classes a template's controls can have.
enum class ControlClass { Button, Static, Edit, UpDown };

struct DialogItemTemplate {
    UINT id;  // control id; 65535 (IDC_STATIC) for controls never addressed
    ControlClass kind;
    const char* caption;  // for an SS_BITMAP static: "#<bitmap id>"
    DWORD style;          // WS_*, BS_*, SS_*, ES_*, UDS_* bits (WS_CHILD | WS_VISIBLE implied)
    short x, y, cx, cy;   // dialog units
};

struct DialogTemplate {
    UINT id;
    const char* caption;
    const char* fontFace;  // as the template names it; the platform maps it to a real font
    int pointSize;
    short x, y, cx, cy;  // dialog units
    DWORD style;         // WS_*, DS_* bits
    std::span<const DialogItemTemplate> items;
};

struct BitmapResource {
    UINT id;
    const char* path;  // a Qt resource path, e.g. ":/res/logo_large.bmp"
};

struct IconResource {
    UINT id;
    const char* path;  // a Qt resource path of the icon image(s)
};

struct StringResource {
    UINT id;
    const char* text;
};

// Everything a program's module holds; the program registers one table at start-up.
struct ResourceTable {
    std::span<const DialogTemplate> dialogs;
    std::span<const BitmapResource> bitmaps;
    std::span<const IconResource> icons;
    std::span<const StringResource> strings;
};

}  // namespace afx
