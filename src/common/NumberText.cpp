#include "NumberText.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

// The largest value a money or quantity column takes (numeric(28, 8) holds 20 digits before the
// point; doubles stay exact to 15).
constexpr double kLargest = 1e15;

} // namespace

QString NumberText::shown(double value, int decimals)
{
    if (decimals >= 0)
        return QString::number(value, 'f', decimals);
    // As many places as the value has, trailing zeros dropped, never an exponent.
    QString text = QString::number(value, 'f', 10);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString NumberText::shown(const QString &text, int decimals)
{
    if (text.trimmed().isEmpty())
        return {};
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return text;
    return shown(value, decimals);
}

std::optional<double> NumberText::parse(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!plain.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) >= kLargest)
        return std::nullopt;
    return value;
}
