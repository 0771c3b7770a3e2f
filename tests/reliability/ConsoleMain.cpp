// The console's reliability cases: a Qt application on the offscreen platform with Gyrodesk's
// resources, and the library's warnings shown as the program shows them.
#include <QApplication>

#include <afx/Afx.h>
#include <gtest/gtest.h>

#include "LinkWarning.h"
#include "Templates.h"

namespace {
CWinApp application;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    afx::InitApplication();
    AfxSetResourceTable(gyrodesk::Resources());
    application.Enable3dControls();
    gyrodesk::InstallLinkWarning();
    return RUN_ALL_TESTS();
}
