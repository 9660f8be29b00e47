#include "common/modPublic.h"
#include "entry/WindowManager.h"
#include "platform/MachineRegistry.h"
#include "sample/SampleObjects.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test program gets a QApplication (offscreen under ctest), so widget and logic tests share
// one main.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    // The error log and anything else kept in the user's data folder go to a folder of the run.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QApplication app(argc, argv);
    registerSampleObjects();
    // The machine settings of whoever runs the tests must not choose the toolbar style: tests
    // read a file of their own that does not exist until a test writes it.
    QTemporaryDir settings;
    MachineRegistry::setFilePath(settings.filePath(QStringLiteral("registry.ini")));
    testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    WindowManager::reset();
    modPublic::clearProgramState();
    return rc;
}
