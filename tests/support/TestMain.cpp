// One QApplication on the offscreen platform, so the real windows are driven without a display.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's own data folder stays out of the tests: no setting file of theirs is read, and a
    // simulated instrument they run (its COMn link in the front panel's settings folder) is not found.
    QTemporaryDir userData;
    if (userData.isValid()) qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
