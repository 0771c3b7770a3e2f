// The main of the console's test programs: a QApplication on the offscreen platform (unless the
// environment names another) with the program's look and fonts, then the tests.
#include <QApplication>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include <afx/CWinApp.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Windows"));
    afx::InitApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
