#include "ListProfile.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace ListProfile {

namespace {

QString folderOrDefault(const QString &folder)
{
    return !folder.isEmpty() && QDir(folder).exists() ? folder : defaultFolder();
}

const QString kFile = QStringLiteral("QVZLGLQM.ini");
const QString kSection = QStringLiteral("ZLGL_VoucherList");
const QString kKey = QStringLiteral("PageSize");

} // namespace

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Orvane");
}

QString getMyPathFileName(const QString &folder, const QString &fileName)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + fileName : folder + QLatin1Char('/') + fileName;
}

QString INIfileGetValue(const QString &section, const QString &key, const QString &defaultValue,
                        const QString &fileName, const QString &folder)
{
    QSettings ini(getMyPathFileName(folderOrDefault(folder), fileName), QSettings::IniFormat);
    return ini.value(section + QLatin1Char('/') + key, defaultValue).toString().left(254);
}

bool INIfileSetValue(const QString &section, const QString &key, const QString &value, const QString &fileName,
                     const QString &folder)
{
    const QString dir = folderOrDefault(folder);
    if (!QDir().mkpath(dir))
        return false;
    QSettings ini(getMyPathFileName(dir, fileName), QSettings::IniFormat);
    ini.setValue(section + QLatin1Char('/') + key, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString pageSizeText()
{
    return INIfileGetValue(kSection, kKey, QStringLiteral("30"), kFile);
}

bool setPageSizeText(const QString &text)
{
    return INIfileSetValue(kSection, kKey, text, kFile);
}

} // namespace ListProfile
