#include "MachineRegistry.h"

#include <QFile>
#include <QStandardPaths>
#include <QStringConverter>
#include <QTextStream>

namespace {

QString g_path;

QString unquoted(QString text)
{
    text = text.trimmed();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

// "SOFTWARE/x\\y\" and "software\x\y" name the same key.
QString normalKey(const QString &keyPath)
{
    QString key = keyPath.trimmed();
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (key.endsWith(QLatin1Char('\\')))
        key.chop(1);
    return key.toLower();
}

} // namespace

QString MachineRegistry::filePath()
{
    if (!g_path.isEmpty())
        return g_path;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Orvane/registry.ini");
}

void MachineRegistry::setFilePath(const QString &path)
{
    g_path = path;
}

std::optional<QString> MachineRegistry::readString(const QString &keyPath, const QString &name, int bufferSize)
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);

    const QString wantedKey = normalKey(keyPath);
    const QString wantedName = name.trimmed().toLower();
    bool inKey = false;
    QString line;
    while (in.readLineInto(&line)) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inKey = normalKey(line.mid(1, line.size() - 2)) == wantedKey;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inKey || eq < 0 || unquoted(line.left(eq)).toLower() != wantedName)
            continue;
        const QString value = unquoted(line.mid(eq + 1));
        if (value.toUtf8().size() + 1 > bufferSize)
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}
