#include "CostFieldRecalc.h"

#include "CardControl.h"

#include "common/basFunction.h"

namespace {

QString numberText(double value)
{
    return QString::number(value, 'g', 15);
}

bool isHeadField(const QString &field)
{
    static const QStringList fields{QStringLiteral("imanhrs"),     QStringLiteral("ibzgzexch"),
                                    QStringLiteral("ibzfyexch"),   QStringLiteral("ipercharge"),
                                    QStringLiteral("imakecharge"), QStringLiteral("itolmaterialcost"),
                                    QStringLiteral("itoloutcost"), QStringLiteral("isellexch")};
    return fields.contains(field);
}

} // namespace

void CostFieldRecalc::RecalcCostField(const QString &field, int row, bool all)
{
    if (all) {
        head(QStringLiteral("imanhrs"));
        for (int r = 1; r <= m_control.BodyRows(); ++r)
            line(QStringLiteral("ipsquantity"), r);
        return;
    }
    const QString name = field.trimmed().toLower();
    if (isHeadField(name))
        head(name);
    else if (row > 0)
        line(name, row);
}

void CostFieldRecalc::head(const QString &field)
{
    const bool hours = !headBlank(QStringLiteral("imanhrs"));
    if (field == QLatin1String("imanhrs")) {
        if (!headBlank(QStringLiteral("ibzgzexch")))
            head(QStringLiteral("ibzgzexch"));
        if (!headBlank(QStringLiteral("ibzfyexch")))
            head(QStringLiteral("ibzfyexch"));
    } else if (field == QLatin1String("ibzgzexch")) {
        if (hours) {
            setHead(QStringLiteral("ipercharge"), headValue(QStringLiteral("imanhrs")) * headValue(field));
            head(QStringLiteral("ipercharge"));
        }
    } else if (field == QLatin1String("ibzfyexch")) {
        if (hours) {
            setHead(QStringLiteral("imakecharge"), headValue(QStringLiteral("imanhrs")) * headValue(field));
            head(QStringLiteral("imakecharge"));
        }
    } else if (field == QLatin1String("ipercharge") || field == QLatin1String("imakecharge")) {
        const double h = headValue(QStringLiteral("imanhrs"));
        if (h != 0)
            setHead(field == QLatin1String("ipercharge") ? QStringLiteral("ibzgzexch") : QStringLiteral("ibzfyexch"),
                    headValue(field) / h);
        totals();
    } else if (field == QLatin1String("itolmaterialcost") || field == QLatin1String("itoloutcost")) {
        totals();
    } else if (field == QLatin1String("isellexch")) {
        if (!m_control.headerText(QStringLiteral("ccode")).trimmed().isEmpty())
            setHead(QStringLiteral("isellcost"),
                    headValue(QStringLiteral("itolcost")) * (1 + headValue(QStringLiteral("isellexch")) / 100.0));
    }
}

void CostFieldRecalc::totals()
{
    setHead(QStringLiteral("itolcost"),
            headValue(QStringLiteral("itolmaterialcost")) + headValue(QStringLiteral("imakecharge"))
                + headValue(QStringLiteral("itoloutcost")) + headValue(QStringLiteral("ipercharge")));
    head(QStringLiteral("isellexch"));
}

void CostFieldRecalc::line(const QString &field, int row)
{
    if (lineValue(row, QStringLiteral("tdqtyd")) == 0)
        setLine(row, QStringLiteral("tdqtyd"), 1);
    const double perUnit = lineValue(row, QStringLiteral("ipsquantity")) / lineValue(row, QStringLiteral("tdqtyd"));
    const double waste = 1 + lineValue(row, QStringLiteral("iwasterate")) / 100.0;
    if (field == QLatin1String("tdqtyd") || field == QLatin1String("ipsquantity")
        || field == QLatin1String("iwasterate")) {
        line(QStringLiteral("imaterialcharge"), row);
        line(QStringLiteral("ioutunitprice"), row);
        line(QStringLiteral("iprodchangrate"), row);
    } else if (field == QLatin1String("imaterialcharge")) {
        setLine(row, QStringLiteral("imaterialcost"), perUnit * lineValue(row, field) * waste);
    } else if (field == QLatin1String("imaterialcost")) {
        // No quantity: no price can be told from the cost.
        if (perUnit != 0)
            setLine(row, QStringLiteral("imaterialcharge"), lineValue(row, field) / (waste * perUnit));
    } else if (field == QLatin1String("ioutunitprice")) {
        setLine(row, QStringLiteral("ioutcost"), perUnit * lineValue(row, field));
    } else if (field == QLatin1String("iprodchangrate")) {
        const double rate = lineValue(row, field);
        setLine(row, QStringLiteral("icaaquantity"), rate == 0 ? 0 : perUnit / rate);
    }
}

double CostFieldRecalc::headValue(const QString &field) const
{
    return basFunction::TextToNumber(m_control.headerText(field));
}

bool CostFieldRecalc::headBlank(const QString &field) const
{
    return m_control.headerText(field).trimmed().isEmpty();
}

void CostFieldRecalc::setHead(const QString &field, double value)
{
    m_control.setHeaderText(field, numberText(value));
}

double CostFieldRecalc::lineValue(int row, const QString &field) const
{
    return basFunction::TextToNumber(m_control.bodyText(row, field));
}

void CostFieldRecalc::setLine(int row, const QString &field, double value)
{
    m_control.setBodyText(row, field, numberText(value));
}
