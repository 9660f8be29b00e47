#include "BenchWidgets.h"

#include <QApplication>

bool makeWidgetApplication()
{
    static int argc = 1;
    static char name[] = "orvane-bench";
    static char *argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return false;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    return true;
}
