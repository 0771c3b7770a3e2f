#include <QtCore/QtGlobal>

#include "Templates.h"
#include "resource.h"

// The images live in the Qt resources compiled from gyrodesk.qrc into this static library;
// the library's resources have to be registered by name before the first look-up.
static void RegisterImages() { Q_INIT_RESOURCE(gyrodesk); }

namespace gyrodesk {

const afx::ResourceTable& Resources() {
    static const afx::DialogTemplate dialogs[] = {kAboutBoxTemplate, kMainDialogTemplate,
                                                  kHelpBoxTemplate};
    static const afx::BitmapResource bitmaps[] = {
        {IDB_LOGO_LARGE, ":/res/logo_large.bmp"},
        {IDB_LOGO_SMALL, ":/res/logo_small.bmp"},
    };
    static const afx::IconResource icons[] = {{IDR_MAINFRAME, ":/res/gyrodesk.ico"}};
    static const afx::ResourceTable table = [] {
        RegisterImages();
        return afx::ResourceTable{dialogs, bitmaps, icons, kStrings};
    }();
    return table;
}

}  // namespace gyrodesk
