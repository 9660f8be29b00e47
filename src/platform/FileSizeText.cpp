#include "FileSizeText.h"

QString fileSizeText(qint64 bytes)
{
    const double n = double(bytes);
    const struct
    {
        double unit;
        const char *name;
    } steps[] = {{1024.0 * 1024.0 * 1024.0, " GB"}, {1024.0 * 1024.0, " MB"}, {1024.0, " KB"}};
    for (const auto &step : steps) {
        if (n / step.unit > 1)
            return QString::number(n / step.unit, 'f', 2) + QLatin1String(step.name);
    }
    return QString::number(n, 'f', 2) + QStringLiteral(" BYTE");
}
