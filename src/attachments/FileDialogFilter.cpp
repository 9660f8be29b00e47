#include "FileDialogFilter.h"

namespace {

QStringList patternsOf(const QString &text)
{
    QStringList out;
    auto add = [&out](const QString &pattern) {
        if (!out.contains(pattern))
            out << pattern;
    };
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        if (pattern == QLatin1String("*.*")) {
            add(QStringLiteral("*"));
            continue;
        }
        add(pattern.toLower());
        add(pattern.toUpper());
    }
    return out;
}

} // namespace

namespace FileDialogFilter {

QStringList toQtFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = patternsOf(parts.at(i + 1));
        if (patterns.isEmpty())
            continue;
        QString description = parts.at(i).simplified();
        if (description.isEmpty())
            description = patterns.join(QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return out;
}

QString toQtFilterString(const QString &filter)
{
    return toQtFilters(filter).join(QStringLiteral(";;"));
}

} // namespace FileDialogFilter
