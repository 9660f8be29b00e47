#include "PrintTemplate.h"

QStringList PrintSetting::papers()
{
    return {QStringLiteral("A4"), QStringLiteral("A3"), QStringLiteral("A5"), QStringLiteral("Letter")};
}

QString PrintSetting::toText() const
{
    return paper + (landscape ? QStringLiteral(";landscape") : QStringLiteral(";portrait"));
}

PrintSetting PrintSetting::fromText(const QString &text)
{
    PrintSetting s;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString p = part.trimmed();
        for (const QString &paper : papers()) {
            if (p.compare(paper, Qt::CaseInsensitive) == 0)
                s.paper = paper;
        }
        if (p.compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0)
            s.landscape = true;
        else if (p.compare(QLatin1String("portrait"), Qt::CaseInsensitive) == 0)
            s.landscape = false;
    }
    return s;
}
