#include "sample/SampleObjects.h"

#include <QApplication>

#include <gtest/gtest.h>

// Every test program gets a QApplication (offscreen under ctest), so widget and logic tests share
// one main.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    registerSampleObjects();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
