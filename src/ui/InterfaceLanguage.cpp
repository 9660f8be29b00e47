#include "InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

namespace {

Q_LOGGING_CATEGORY(lcLanguage, "orvane.ui.language")

} // namespace

bool InterfaceLanguage::install(QCoreApplication &app)
{
    static QTranslator *installed = nullptr;
    if (installed)
        return true;
    auto *qt = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        qCWarning(lcLanguage) << "Qt's Chinese translations are not in" << folder;
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    installed = qt;
    return true;
}
