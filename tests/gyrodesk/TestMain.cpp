// The main of the console's test programs (the application's tests and its reliability
// cases): a Qt application on the offscreen platform with Gyrodesk's resources registered, the
// library's warnings shown in the warning box as the program shows them, and an application
// object for the dialogs to load their icon through.
#include <QApplication>

#include <afx/Afx.h>
#include <gtest/gtest.h>

#include "LinkWarning.h"
#include "Templates.h"

namespace {
CWinApp testApp;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery runs the program outside CTest's environment, with no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    afx::InitApplication();
    AfxSetResourceTable(gyrodesk::Resources());
    testApp.Enable3dControls();
    gyrodesk::InstallLinkWarning();
    return RUN_ALL_TESTS();
}
